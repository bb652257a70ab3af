// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/video_update.h"

#include "engine/log.h"
#include "platform/display.h"

int VideoUpdate::screenWidth = 640;
int VideoUpdate::screenHeight = 480;
int VideoUpdate::screenBPP = 16;
bool VideoUpdate::screenFullScreen = false;
bool VideoUpdate::screenVSync = true;

bool VideoUpdate::Start() {
    Log::Get().Write(LOG_APP, "Settings are %d by %d", screenWidth, screenHeight);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == -1) {
        Log::Get().Write(LOG_ERROR, "Cannot initialise SDL video subsystem!");
        return false;
    }
    std::string unseen = UnseenVideoDriver();
    if (!unseen.empty()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        Log::Get().Write(LOG_APP, "The display cannot be reached: SDL fell back to its %s driver",
                         unseen.c_str());
        Log::Get().Write(LOG_ERROR, "Cannot initialise SDL video subsystem!");
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Pictures are laid over one another in the order they are drawn: a depth buffer would
    // only cost the clearing of it every frame.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    // Waiting for the display at the swap keeps the frame loop, which never sleeps, from
    // burning a whole core.
    AskForVSync(screenVSync);
    Uint32 flags = SDL_OPENGL | SDL_ANYFORMAT;
    if (screenFullScreen) {
        flags |= SDL_FULLSCREEN;
    }
    surface = SDL_SetVideoMode(screenWidth, screenHeight, screenBPP, flags);
    if (!surface) {
        Log::Get().Write(LOG_ERROR, "Cannot assign video mode of %d by %d, BPP: %d, flags: %d",
                         screenWidth, screenHeight, screenBPP, static_cast<int>(flags));
        return false;
    }
    pixelFormat = surface->format;
    if (screenFullScreen) {
        SDL_ShowCursor(SDL_DISABLE);
    }
    LogVSync();
    return true;
}

// A driver may refuse (a virtual X server does); the game then runs as fast as it can.
void VideoUpdate::LogVSync() {
    Log::Get().Write(LOG_APP, "Vertical sync %s",
                     !screenVSync     ? "off"
                     : VSyncGranted() ? "on"
                                      : "not granted by the driver");
}

bool VideoUpdate::ToggleFullScreen() {
    if (!ToggleWindowFullScreen(surface)) {
        Log::Get().Write(LOG_APP, "Cannot switch between window and full screen: %s",
                         SDL_GetError());
        return false;
    }
    screenFullScreen = !screenFullScreen;
    SDL_ShowCursor(screenFullScreen ? SDL_DISABLE : SDL_ENABLE);
    return true;
}

void VideoUpdate::Update() {
    SDL_GL_SwapBuffers();
}

void VideoUpdate::Stop() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    surface = nullptr;
    pixelFormat = nullptr;
}
