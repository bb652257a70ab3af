// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/display.h"

#include <cstdlib>

void RequireVisibleDisplay() {
#if defined(__unix__) && !defined(__APPLE__)
    auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (isSet("SDL_VIDEODRIVER") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) {
        return;
    }
    setenv("SDL_VIDEODRIVER", "x11", 1);
#endif
}
