// Controllers: opening and closing controllers, the mapping file, and controls as key messages.
#include "platform/sdl/Controllers.h"

#include <algorithm>

#include "platform/files/FileSystem.h"
#include "platform/sdl/ControllerTable.h"

namespace platform {

namespace {

// The line without its CR and surrounding blanks.
std::string Trimmed(std::string line) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!line.empty() && blank(line.back())) line.pop_back();
    size_t start = 0;
    while (start < line.size() && blank(line[start])) ++start;
    return line.substr(start);
}

}  // namespace

Controllers::Controllers() {
    // The face buttons play lanes by where they sit on the diamond, not by what is printed
    // on them, so pads that label their buttons the other way round play the same.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {
        started_ = true;
    } else {
        error_ = std::string("game controllers are not available: ") + SDL_GetError();
    }
}

Controllers::~Controllers() {
    for (Pad& pad : pads_) SDL_GameControllerClose(pad.handle);
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

std::vector<std::string> Controllers::LoadMappings(const std::string& path) {
    mappingFile_ = path;
    std::vector<std::string> problems;
    std::string bytes, error;
    switch (ReadWholeFile(path, &bytes, &error)) {
        case ReadResult::kMissing:
            return problems;
        case ReadResult::kFailed:
            problems.push_back(error);
            return problems;
        case ReadResult::kOk:
            break;
    }
    if (!started_) return problems;
    size_t start = 0;
    for (int number = 1; start < bytes.size(); ++number) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = Trimmed(bytes.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        if (SDL_GameControllerAddMapping(line.c_str()) < 0)
            problems.push_back(path + ":" + std::to_string(number) + ": " + SDL_GetError());
    }
    return problems;
}

void Controllers::OpenAttached() {
    if (!started_) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_IsGameController(i)) Open(i);
}

// Opens the controller at deviceIndex in the lowest free slot, unless it is open already.
void Controllers::Open(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || Find(id)) return;
    SDL_GameController* handle = SDL_GameControllerOpen(deviceIndex);
    if (!handle) return;
    int slot = 0;
    while (std::any_of(pads_.begin(), pads_.end(), [&](const Pad& p) { return p.slot == slot; }))
        ++slot;
    Pad pad;
    pad.handle = handle;
    pad.id = id;
    pad.slot = slot;
    pads_.push_back(pad);
}

// Lets go of every control of the controller, then closes it.
void Controllers::Close(SDL_JoystickID id, std::deque<Message>& out) {
    Pad* pad = Find(id);
    if (!pad) return;
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
        Set(*pad, pad->button[b], SDL_GameControllerButton(b), false, out);
    Stick(*pad, SDL_CONTROLLER_AXIS_LEFTX, 0, out);
    Stick(*pad, SDL_CONTROLLER_AXIS_LEFTY, 0, out);
    SDL_GameControllerClose(pad->handle);
    pads_.erase(pads_.begin() + (pad - pads_.data()));
}

// Names the joystick and its GUID, the start of the line a mapping needs.
void Controllers::TellUnmapped(int deviceIndex) {
    if (!onNotice) return;
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(deviceIndex), guid, sizeof guid);
    const char* name = SDL_JoystickNameForIndex(deviceIndex);
    onNotice(std::string("controller \"") + (name ? name : "?") + "\" (" + guid +
             ") has no mapping; a line for it in " + mappingFile_ + " makes it play");
}

Controllers::Pad* Controllers::Find(SDL_JoystickID id) {
    for (Pad& pad : pads_)
        if (pad.id == id) return &pad;
    return nullptr;
}

void Controllers::Set(Pad& pad, bool& held, SDL_GameControllerButton button, bool down,
                      std::deque<Message>& out) {
    if (held == down) return;
    held = down;
    const uint32_t vk = ControllerButtonKey(button, pad.slot);
    if (vk == 0 || vk > 255) return;
    int& holders = holders_[vk];
    if (down && ++holders == 1) out.push_back({kMsgKeyDown, vk, 0});
    if (!down && holders > 0 && --holders == 0) out.push_back({kMsgKeyUp, vk, 0});
}

// Each side of the stick presses past kStickPress and lets go inside kStickRelease.
void Controllers::Stick(Pad& pad, SDL_GameControllerAxis axis, int value,
                        std::deque<Message>& out) {
    const int first = axis == SDL_CONTROLLER_AXIS_LEFTX   ? 0
                      : axis == SDL_CONTROLLER_AXIS_LEFTY ? 2
                                                          : -1;
    if (first < 0) return;
    for (int side = 0; side < 2; ++side) {
        const bool negative = side == 0;
        const int lean = negative ? -value : value;
        bool& held = pad.stick[size_t(first + side)];
        const bool down = held ? lean > kStickRelease : lean > kStickPress;
        Set(pad, held, StickDirection(axis, negative), down, out);
    }
}

bool Controllers::Handle(const SDL_Event& e, std::deque<Message>& out) {
    switch (e.type) {
        case SDL_JOYDEVICEADDED:
            // A joystick SDL can map arrives as both; one that gains a mapping later, as a
            // controller only.
            if (!started_) return true;
            if (SDL_IsGameController(e.jdevice.which))
                Open(e.jdevice.which);
            else
                TellUnmapped(e.jdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEADDED:
            if (started_) Open(e.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            Close(e.cdevice.which, out);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (Pad* pad = Find(e.cbutton.which);
                pad && e.cbutton.button < SDL_CONTROLLER_BUTTON_MAX)
                Set(*pad, pad->button[e.cbutton.button], SDL_GameControllerButton(e.cbutton.button),
                    e.type == SDL_CONTROLLERBUTTONDOWN, out);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (Pad* pad = Find(e.caxis.which))
                Stick(*pad, SDL_GameControllerAxis(e.caxis.axis), e.caxis.value, out);
            return true;
        case SDL_JOYDEVICEREMOVED:
        case SDL_JOYAXISMOTION:
        case SDL_JOYBALLMOTION:
        case SDL_JOYHATMOTION:
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
        case SDL_JOYBATTERYUPDATED:
        case SDL_CONTROLLERDEVICEREMAPPED:
        case SDL_CONTROLLERTOUCHPADDOWN:
        case SDL_CONTROLLERTOUCHPADMOTION:
        case SDL_CONTROLLERTOUCHPADUP:
        case SDL_CONTROLLERSENSORUPDATE:
            return true;
        default:
            return false;
    }
}

void Controllers::ForgetHeld() {
    for (Pad& pad : pads_) {
        pad.button.fill(false);
        pad.stick.fill(false);
    }
    holders_.fill(0);
}

}  // namespace platform
