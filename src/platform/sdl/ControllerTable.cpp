// ControllerTable: the data that maps controller buttons and stick directions to keys.
#include "platform/sdl/ControllerTable.h"

#include "platform/Messages.h"

namespace platform {

namespace {

struct ButtonRow {
    SDL_GameControllerButton button;
    uint32_t first;   // the key on the first controller
    uint32_t second;  // the key on the second
};

constexpr ButtonRow kButtonRows[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, 'W', 'I'},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 'D', 'L'},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 'S', 'K'},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 'A', 'J'},
    {SDL_CONTROLLER_BUTTON_Y, 'I', 'I'},
    {SDL_CONTROLLER_BUTTON_B, 'L', 'L'},
    {SDL_CONTROLLER_BUTTON_A, 'K', 'K'},
    {SDL_CONTROLLER_BUTTON_X, 'J', 'J'},
    {SDL_CONTROLLER_BUTTON_START, kVkSpace, kVkSpace},
    {SDL_CONTROLLER_BUTTON_BACK, 'E', 'E'},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 'Q', 'Q'},
};

struct StickRow {
    SDL_GameControllerAxis axis;
    SDL_GameControllerButton negative;  // leaning up or left
    SDL_GameControllerButton positive;  // leaning down or right
};

constexpr StickRow kStickRows[] = {
    {SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT},
    {SDL_CONTROLLER_AXIS_LEFTY, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN},
};

}  // namespace

uint32_t ControllerButtonKey(SDL_GameControllerButton button, int slot) {
    for (const ButtonRow& row : kButtonRows)
        if (row.button == button) return slot == 1 ? row.second : row.first;
    return 0;
}

SDL_GameControllerButton StickDirection(SDL_GameControllerAxis axis, bool negative) {
    for (const StickRow& row : kStickRows)
        if (row.axis == axis) return negative ? row.negative : row.positive;
    return SDL_CONTROLLER_BUTTON_INVALID;
}

}  // namespace platform
