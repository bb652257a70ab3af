// SPDX-License-Identifier: GPL-3.0-or-later
// Owns the window and its OpenGL context; swaps the buffers last in every frame.
#pragma once

#include <SDL.h>

#include "engine/task.h"

class VideoUpdate final : public Task {
public:
    // The video mode; start-up fills these from the settings before Start.
    static int screenWidth;   // pixels
    static int screenHeight;  // pixels
    static int screenBPP;     // bits per pixel asked for
    static bool screenFullScreen;
    static bool screenVSync;  // swap in step with the display, where the driver lets us

    SDL_Surface* surface = nullptr;          // the display surface, owned by SDL
    SDL_PixelFormat* pixelFormat = nullptr;  // its pixel format, owned by SDL

    bool Start() override;
    void Update() override;
    void Stop() override;

    // Switches between window and full screen in place, keeping the OpenGL context and with it
    // every texture. False, with the reason in the log, where the SDL library cannot.
    bool ToggleFullScreen();

private:
    void LogVSync();
};
