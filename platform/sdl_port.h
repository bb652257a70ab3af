// SPDX-License-Identifier: GPL-3.0-or-later
// Where the desktop's SDL 1.2 and the browser's (Emscripten's, behind the headers of a later
// SDL) differ: the table of held keys, a window losing the player, the quit key, and reaching
// a picture's pixels.
#pragma once

#include <SDL.h>

#include <cstdint>

// SDL's table of held keys, indexed by SDLK_ symbol, and its length.
const std::uint8_t* HeldKeyTable(int* count);

// True when the event says that the player cannot see or reach the game any more: another
// window took the keyboard, the window was minimised, the page was hidden or lost the focus.
bool LosesThePlayer(const SDL_Event& event);

// On the desktop the player quits the game (Escape), which saves the settings on its way out. A
// page ends with its tab, and nothing of the game runs then: there Escape quits nothing (it
// leaves full screen, as the browser has it), and a switch is saved the moment it is made.
extern const bool PLATFORM_QUITS;

// How pads number their buttons, as the library reports them: SDL2's game controllers through
// sdl12-compat (A 0, Back 4, Start 6), a browser's "standard" gamepad (bottom face 0, Select 8,
// Start 9), or whatever the device has.
enum PORT_PAD_ORDER { PORT_PAD_CONTROLLER, PORT_PAD_STANDARD, PORT_PAD_RAW };
// Called before the joysticks start: the order they will come in; raw asks for the device's own.
PORT_PAD_ORDER ChoosePadOrder(bool raw);

// Whether the window (or the page) has the keyboard: pads, like keys, count only then.
bool WindowHasFocus();

// How many pads are plugged in now, as the library under the SDL 1.2 API sees them (SDL2
// under sdl12-compat, the browser's Gamepad API), whether the game has them open or not; -1
// where that cannot be known (the classic SDL 1.2 library). The SDL 1.2 API itself tells of no
// pad coming or going.
int PadsPluggedIn();

// Whether the last press of the pointer came from a finger, not a mouse; and whether the screen
// is one for fingers, where no control has been used yet. Never on the desktop, whose SDL 1.2
// API tells a finger from a mouse in no way.
bool PointerIsTouch();
bool TouchScreen();

// Makes a picture's pixels readable; true when it was locked for that and must be unlocked
// after. The browser's pictures hold their pixels already, and locking one in OpenGL mode fails.
bool LockPixels(SDL_Surface* picture);
