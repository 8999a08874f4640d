// Controllers: game controllers and dance pads through SDL's game controller support (its
// database, the player's SDL_GAMECONTROLLERCONFIG and a mapping file of the game's folder),
// turned into the same key messages the keyboard sends, in the order SDL delivers them. They
// can come and go while the game runs; the first to arrive is the first controller.
// A key held by several controls (a D-pad and the stick, two pads) goes up when the last one
// lets go.
// Depends on: platform/Messages.h, platform/sdl/ControllerTable.h, platform/files/FileSystem.h, SDL2.
#pragma once

#include <SDL.h>

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Messages.h"

namespace platform {

class Controllers {
  public:
    // Starts SDL's game controller support; a failure leaves it off with the reason in error().
    Controllers();
    ~Controllers();
    Controllers(const Controllers&) = delete;
    Controllers& operator=(const Controllers&) = delete;

    bool started() const { return started_; }
    const std::string& error() const { return error_; }

    // Adds the mappings of a text file, one SDL mapping string a line ('#' starts a comment
    // line). Returns one "path:line: reason" for each line SDL refused; a missing file is none.
    std::vector<std::string> LoadMappings(const std::string& path);
    // Opens the controllers already attached that SDL can map.
    void OpenAttached();
    // Takes an SDL event of a joystick or controller, appending the key messages it makes to
    // out; false for every other event.
    bool Handle(const SDL_Event& event, std::deque<Message>& out);
    // Forgets which keys the controls hold: the keyboard's live set was just cleared.
    void ForgetHeld();
    // The controllers open now.
    size_t count() const { return pads_.size(); }

    // Told about a joystick SDL has no mapping for, with what to do.
    std::function<void(const std::string&)> onNotice;

  private:
    // One open controller: its slot and which of its controls are down.
    struct Pad {
        SDL_GameController* handle = nullptr;
        SDL_JoystickID id = -1;
        int slot = 0;
        std::array<bool, SDL_CONTROLLER_BUTTON_MAX> button{};
        std::array<bool, 4> stick{};  // left, right, up, down
    };

    void Open(int deviceIndex);
    void TellUnmapped(int deviceIndex);
    void Close(SDL_JoystickID id, std::deque<Message>& out);
    Pad* Find(SDL_JoystickID id);
    // A control of pad standing for button went down or up.
    void Set(Pad& pad, bool& held, SDL_GameControllerButton button, bool down,
             std::deque<Message>& out);
    void Stick(Pad& pad, SDL_GameControllerAxis axis, int value, std::deque<Message>& out);

    bool started_ = false;
    std::string error_;
    std::string mappingFile_ = "the mapping file";
    std::vector<Pad> pads_;
    std::array<int, 256> holders_{};  // how many controls hold each key down
};

}  // namespace platform
