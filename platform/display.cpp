// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/display.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

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
