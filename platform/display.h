// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the game from running unseen, and its frames from being copied on their way to it.
#pragma once

#include <SDL.h>

#include <string>

// SDL2, under the SDL 1.2 API, picks its offscreen driver when no display exists, and the
// game would then run with no window anyone can see. Called before SDL starts: where there
// is no display and no driver was asked for, the windowing system's own driver is named,
// so that opening the video fails and is reported. A driver asked for through
// SDL_VIDEODRIVER (offscreen, for headless tests) is left as it is.
void RequireVisibleDisplay();

// After SDL's video has started: the name of the driver it fell back to when that driver
// shows nothing and was not asked for, as happens when the display is named but cannot be
// reached (no server, no authorisation, a busy server); "" when the game can be seen.
std::string UnseenVideoDriver();

// sdl12-compat, the SDL 1.2 of current Linux systems, draws an OpenGL program into a
// framebuffer of its own and copies it, scaled, into the window at every swap, so that full
// screen can keep the desktop's resolution. To a software renderer that copy costs more than
// a whole cleared frame. Called before SDL starts, it has the game draw straight into its
// window, and full screen then switches the display's mode, as SDL 1.2 itself does. A choice
// made in the environment (SDL12COMPAT_OPENGL_SCALING=1) is left as it is.
void DrawStraightIntoWindow();

// Asks, before the window opens, for the swap to wait for the display's refresh. A browser
// always shows frames at its own pace, whatever is asked.
void AskForVSync(bool on);
// Whether the swap waits for the display, once the window is open.
bool VSyncGranted();

// Switches between window and full screen; false when that cannot be done. A page goes full
// screen whole, its picture kept at 4:3 with bars, as the desktop's window does.
bool ToggleWindowFullScreen(SDL_Surface* window);
