// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sdl_port.h"

#if defined(__EMSCRIPTEN__)
const bool PLATFORM_QUITS = false;

bool LockPixels(SDL_Surface*) {
    return false;
}

// The same table as SDL 1.2's, indexed by key symbol, under the later SDL's name.
const std::uint8_t* HeldKeyTable(int* count) {
    return SDL_GetKeyboardState(count);
}

bool LosesThePlayer(const SDL_Event& event) {
    return event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                                             event.window.event == SDL_WINDOWEVENT_HIDDEN);
}
#else
const bool PLATFORM_QUITS = true;

bool LockPixels(SDL_Surface* picture) {
    return SDL_MUSTLOCK(picture) && SDL_LockSurface(picture) == 0;
}

const std::uint8_t* HeldKeyTable(int* count) {
    return SDL_GetKeyState(count);
}

bool LosesThePlayer(const SDL_Event& event) {
    return event.type == SDL_ACTIVEEVENT && !event.active.gain &&
           (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE));
}
#endif
