// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/message_box.h"

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

void WriteToStandardError(const char* title, const char* text) {
    std::fprintf(stderr, "%s: %s\n", title, text);
}

#if defined(_WIN32)

void ShowSystemBox(const char* title, const char* text) {
    MessageBoxA(nullptr, text, title, MB_OK);
}

#else

bool HasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// The SDL 1.2 API here runs on SDL2, whose simple message box is a real modal window
// with an OK button that Return also presses. SDL2 is reached at run time, by its
// soname, so that its symbols never mix with the SDL 1.2 ones the game links against.
using SimpleMessageBox = int (*)(unsigned flags, const char* title, const char* text, void* window);
const unsigned SDL2_MESSAGEBOX_ERROR = 0x10;

SimpleMessageBox FindSimpleMessageBox() {
    static SimpleMessageBox function = [] {
        void* sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        return sdl2 ? reinterpret_cast<SimpleMessageBox>(dlsym(sdl2, "SDL_ShowSimpleMessageBox"))
                    : nullptr;
    }();
    return function;
}

void ShowSystemBox(const char* title, const char* text) {
    SimpleMessageBox show = HasDisplay() ? FindSimpleMessageBox() : nullptr;
    if (!show || show(SDL2_MESSAGEBOX_ERROR, title, text, nullptr) != 0) {
        WriteToStandardError(title, text);
    }
}

#endif

MessageBoxFunction replacement = nullptr;

}  // namespace

void ShowMessageBox(const char* title, const char* text) {
    if (replacement) {
        replacement(title, text);
    } else {
        ShowSystemBox(title, text);
    }
}

void SetMessageBoxFunction(MessageBoxFunction function) {
    replacement = function;
}
