// KeyScreen: the "Keys" item of the configuration screen. It asks for the key of each lane
// direction in turn (red Up, Right, Down, Left, then blue), showing the lanes as the play screen
// does with the slot being asked in yellow. A key another slot holds, Escape, Space, F11 and
// keys that cannot play are refused with a message and the slot asks again; Backspace keeps the
// slot's key. After the eighth slot the keys are in force and written to "Keys.cfg".
// Depends on: settings/KeyBindings.h, settings/KeyBindingsFile.h, services (KeyInput,
// SpriteRenderer, TextRenderer).
#pragma once

#include <string>

#include "settings/KeyBindings.h"

class KeyScreen {
  public:
    // Starts at the first slot with the keys in force.
    void Open();
    // One update: takes the key pressed, if any. False once the last slot is done.
    bool Update();
    // The two lanes' hit markers.
    void DrawSprites() const;
    // The question, the refusal if any, and the eight keys around the markers.
    void DrawTexts() const;

  private:
    // Moves to the next slot; false after the last, when the keys are put in force and saved.
    bool Advance();

    LaneKeys keys_ = kDefaultLaneKeys;
    int slot_ = 0;
    std::wstring message_;
};
