// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/display.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>
#endif

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

void RequireVisibleDisplay() {
#if defined(__unix__) && !defined(__APPLE__)
    if (IsSet("SDL_VIDEODRIVER") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) {
        return;
    }
    setenv("SDL_VIDEODRIVER", "x11", 1);
#endif
}

std::string UnseenVideoDriver() {
    char name[64] = {};
    if (IsSet("SDL_VIDEODRIVER") || !SDL_VideoDriverName(name, sizeof name)) {
        return "";
    }
    for (const char* unseen : {"offscreen", "dummy", "evdev"}) {
        if (std::strcmp(name, unseen) == 0) {
            return name;
        }
    }
    return "";
}

void DrawStraightIntoWindow() {
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
}

#if defined(__EMSCRIPTEN__)
bool ToggleWindowFullScreen(SDL_Surface*) {
    EM_ASM({ Module.toggleFullscreen(); });
    return true;
}

void AskForVSync(bool) {}

bool VSyncGranted() {
    return true;  // a frame is drawn at each of the browser's animation frames
}
#else
bool ToggleWindowFullScreen(SDL_Surface* window) {
    return window && SDL_WM_ToggleFullScreen(window);
}

void AskForVSync(bool on) {
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, on ? 1 : 0);
}

bool VSyncGranted() {
    int granted = 0;
    return SDL_GL_GetAttribute(SDL_GL_SWAP_CONTROL, &granted) == 0 && granted > 0;
}
#endif
