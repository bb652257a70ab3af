// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sdl_port.h"

#include <cstdlib>

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>

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

bool WindowHasFocus() {
    return EM_ASM_INT({ return document.hasFocus() ? 1 : 0; }) != 0;
}

bool PointerIsTouch() {
    return EM_ASM_INT({ return Module.pointerIsTouch() ? 1 : 0; }) != 0;
}

bool TouchScreen() {
    return EM_ASM_INT({ return matchMedia('(pointer: coarse)').matches ? 1 : 0; }) != 0;
}

int PadsPluggedIn() {
    return EM_ASM_INT({
        var pads = navigator.getGamepads ? navigator.getGamepads() : [];
        var count = 0;
        for (var i = 0; i < pads.length; ++i) {
            count += pads[i] && pads[i].connected ? 1 : 0;
        }
        return count;
    });
}

// The browser maps a pad it knows to the W3C standard order, and says so.
PORT_PAD_ORDER ChoosePadOrder(bool raw) {
    bool standard = EM_ASM_INT({
        var pads = navigator.getGamepads ? navigator.getGamepads() : [];
        for (var i = 0; i < pads.length; ++i) {
            if (pads[i] && pads[i].mapping != "standard") {
                return 0;
            }
        }
        return 1;
    });
    return standard && !raw ? PORT_PAD_STANDARD : PORT_PAD_RAW;
}
#else
#include <dlfcn.h>

const bool PLATFORM_QUITS = true;

bool LockPixels(SDL_Surface* picture) {
    return SDL_MUSTLOCK(picture) && SDL_LockSurface(picture) == 0;
}

const std::uint8_t* HeldKeyTable(int* count) {
    return SDL_GetKeyState(count);
}

const int SDL12COMPAT_FIRST_PATCH = 50;  // sdl12-compat calls itself 1.2.50 and later

// sdl12-compat lists in SDL2's controller order only the pads SDL2 knows, when asked before
// its joysticks start; a choice made in the environment stands, unless raw is asked for. The
// classic SDL 1.2 library has raw joysticks only.
PORT_PAD_ORDER ChoosePadOrder(bool raw) {
    if (SDL_Linked_Version()->patch < SDL12COMPAT_FIRST_PATCH) {
        return PORT_PAD_RAW;
    }
    setenv("SDL12COMPAT_USE_GAME_CONTROLLERS", raw ? "0" : "1", raw ? 1 : 0);
    const char* asked = std::getenv("SDL12COMPAT_USE_GAME_CONTROLLERS");
    return asked && std::atoi(asked) != 0 ? PORT_PAD_CONTROLLER : PORT_PAD_RAW;
}

bool WindowHasFocus() {
    return (SDL_GetAppState() & SDL_APPINPUTFOCUS) != 0;
}

bool PointerIsTouch() {
    return false;
}

bool TouchScreen() {
    return false;
}

// sdl12-compat runs on SDL2, already loaded in the process, which keeps its list of pads up to
// date at every event pump.
int PadsPluggedIn() {
    using CountPads = int (*)();
    static CountPads count = [] {
        void* sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
        return sdl2 ? reinterpret_cast<CountPads>(dlsym(sdl2, "SDL_NumJoysticks")) : nullptr;
    }();
    return count && SDL_Linked_Version()->patch >= SDL12COMPAT_FIRST_PATCH ? count() : -1;
}

bool LosesThePlayer(const SDL_Event& event) {
    return event.type == SDL_ACTIVEEVENT && !event.active.gain &&
           (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE));
}
#endif
