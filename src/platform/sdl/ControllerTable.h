// ControllerTable: game controller buttons and stick directions in the game's virtual-key
// codes, as a plain data table. The first controller's D-pad (and left stick) plays the red
// lane and steps through the menus (W A S D); a second controller's plays the blue lane
// (I J K L). The face buttons play the blue lane on every controller; Start confirms (Space),
// Back opens the configuration (E) and the left shoulder goes back to the title (Q). Nothing
// stands for Escape, which quits.
// Depends on: SDL2 (game controller button and axis names only).
#pragma once

#include <SDL_gamecontroller.h>

#include <cstdint>

namespace platform {

// How far the left stick must lean to press its direction, and how far back to let go, out of
// 32767: the gap keeps a stick resting near the threshold from chattering.
constexpr int kStickPress = 16000;
constexpr int kStickRelease = 8000;

// The key a controller's button stands for; slot 0 is the first controller, 1 the second
// (later ones play as the first). 0 when the button has no key.
uint32_t ControllerButtonKey(SDL_GameControllerButton button, int slot);

// The D-pad button that one side of a stick axis stands for (negative: up or left), or
// SDL_CONTROLLER_BUTTON_INVALID for axes that stand for nothing.
SDL_GameControllerButton StickDirection(SDL_GameControllerAxis axis, bool negative);

}  // namespace platform
