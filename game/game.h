// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: start-up, the frame loop and shutdown, and the hub through which
// the world and the actors reach each other and the sound library.
#pragma once

#include <SDL.h>

#include "engine/singleton.h"
#include "platform/fmod.h"

class GlobalTimer;
class InputTask;
class VideoUpdate;
class InfoTextTask;
class TestTask;
class WorldTask;
class Settings;

class Game : public Singleton<Game> {
public:
    GlobalTimer* timerTask = nullptr;
    InputTask* inputTask = nullptr;
    VideoUpdate* videoTask = nullptr;
    InfoTextTask* infoTextTask = nullptr;
    TestTask* testTask = nullptr;
    WorldTask* worldTask = nullptr;
    FMOD_SYSTEM* soundSystem = nullptr;  // every sound call of the game passes it
    SDL_Surface* icon = nullptr;         // the window icon, kept until shutdown

    // The whole life of the program. True when it ran and was shut down normally; false
    // when start-up failed, after the failure was reported and what was started was undone.
    bool Run(int argc, char** argv);

    // Registers the game's settings, bound to variables that hold their defaults.
    void SetDefaultSettings(Settings* settings);

    bool InitSound();
    void ReleaseSound();

private:
    bool StartUp();
    bool SetCaptionAndIcon();
    bool AddTasks();
    bool AddWorldTask();
    void ApplyVideoSettings();
    void ShutDown();
};
