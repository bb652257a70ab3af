// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: start-up, the frame loop and shutdown, and the hub through which
// the world and the actors reach each other and the sound library.
#pragma once

#include <SDL.h>

#include <string>

#include "engine/dator.h"
#include "engine/engine_constants.h"
#include "engine/singleton.h"
#include "game/game_constants.h"
#include "platform/fmod.h"

class GlobalTimer;
class Kernel;
class InputTask;
class VideoUpdate;
class InfoTextTask;
class TestTask;
class WorldTask;
class Settings;

class Game : public Singleton<Game> {
public:
    Kernel* kernel = nullptr;  // made at the start of Run, freed at its end
    Settings* settings = nullptr;
    GlobalTimer* timerTask = nullptr;
    InputTask* inputTask = nullptr;
    VideoUpdate* videoTask = nullptr;
    InfoTextTask* infoTextTask = nullptr;
    TestTask* testTask = nullptr;
    WorldTask* worldTask = nullptr;
    FMOD_SYSTEM* soundSystem = nullptr;  // every sound call of the game passes it
    SDL_Surface* icon = nullptr;         // the window icon, kept until shutdown

    // The settings' values, with their defaults; SetDefaultSettings binds them to their names.
    int videoWidth = 640;
    int videoHeight = 480;
    int videoBPP = 16;
    bool videoFullScreen = false;
    bool videoVSync = true;
    long highScore = 0;
    bool soundEffects = true;  // F2's switch, handed to the world
    bool soundMusic = true;    // F3's switch
    bool joyRaw = false;       // pads in their own button order: every button climbs
    int joyPauseButton = -1;   // the pads' pause button, or -1 for their order's Start
    std::string watchFile;     // a recording to play instead of the menu (--watch FILE)

    // The whole life of the program. True when it ran and was shut down normally; false
    // when start-up failed, after the failure was reported and what was started was undone.
    bool Run(int argc, char** argv);

    // Registers the game's settings, bound to the values above.
    void SetDefaultSettings(Settings* registry);

    bool InitSound();
    void ReleaseSound();

private:
    Dator<int> datorVideoWidth{videoWidth, 0, GAME_VIDEO_MAX_SIZE};
    Dator<int> datorVideoHeight{videoHeight, 0, GAME_VIDEO_MAX_SIZE};
    Dator<int> datorVideoBPP{videoBPP};
    Dator<bool> datorVideoFullScreen{videoFullScreen};
    Dator<bool> datorVideoVSync{videoVSync};
    Dator<long> datorHighScore{highScore};
    Dator<bool> datorSoundEffects{soundEffects};
    Dator<bool> datorSoundMusic{soundMusic};
    Dator<bool> datorJoyRaw{joyRaw};
    Dator<int> datorJoyPauseButton{joyPauseButton, -1, PAD_MAX_BUTTONS - 1};

    bool StartUp();
    bool SetCaptionAndIcon();
    bool AddTasks();
    bool AddWorldTask();
    void ApplyVideoSettings();
    void ShutDown();
};
