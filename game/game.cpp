// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/game.h"

#include <SDL_image.h>

#include <ctime>

#include "engine/global_timer.h"
#include "engine/input_task.h"
#include "engine/kernel.h"
#include "engine/log.h"
#include "engine/settings.h"
#include "engine/video_update.h"
#include "game/command_line.h"
#include "game/fmod_errorcheck.h"
#include "game/game_constants.h"
#include "game/info_text_task.h"
#include "game/test_task.h"
#include "game/world_task.h"
#include "platform/display.h"
#include "platform/file_access.h"
#include "platform/player_files.h"
#include "platform/quit_signal.h"
#include "platform/random.h"
#include "platform/sdl_port.h"

namespace {

void LogSoundNote(const char* message) {
    Log::Get().Write(LOG_APP, "Sound: %s", message);
}

// Creates a task, gives it its place in the frame and starts it; on failure, says which.
template <typename T>
bool AddTask(Kernel* kernel, T*& field, int priority, const char* failure) {
    field = new T;
    field->priority = priority;
    if (!kernel->AddTask(field)) {
        Log::Get().Write(LOG_ERROR, "%s", failure);
        return false;
    }
    return true;
}

}  // namespace

// The one way from the actors down here up to their world.
WorldView& TheWorld() {
    return *Singleton<Game>::GetPointer()->worldTask;
}

bool Game::Run(int argc, char** argv) {
    tobrin::srand(static_cast<unsigned>(std::time(nullptr)));
    // Before SDL starts, which keeps signal handlers it finds in place, and before the first
    // message box, which a quit signal takes down.
    InstallQuitSignals();
    if (!Log::Get().Initalise()) {
        return false;
    }
    RequireVisibleDisplay();

    kernel = new Kernel;
    settings = new Settings;
    SetDefaultSettings(settings);
    settings->ParseFile(PlayerFilePath(GAME_SETTINGS_FILENAME));
    const char* watched = WatchedFile(argc, argv);
    watchFile = watched ? watched : "";
    for (int i = 1; i < argc; ++i) {
        if (IsWatchArgument(argc, argv, i)) {
            continue;
        }
        ReportUnknownSetting(settings, argv[i]);
        settings->ParseSetting(argv[i]);
    }

    bool started = StartUp();
    if (!started) {
        // Whatever did start is stopped; the settings are not written back.
        kernel->KillAllTasks();
    }
    kernel->Execute();
    if (started) {
        settings->WriteFile(PlayerFilePath(GAME_SETTINGS_FILENAME));
    }
    ShutDown();
    return started;
}

bool Game::StartUp() {
    return SetCaptionAndIcon() && InitSound() && AddTasks();
}

// SDL 1.2 takes a window icon only before the first video mode is set.
bool Game::SetCaptionAndIcon() {
    SDL_WM_SetCaption(GAME_TITLE, GAME_TITLE);
    std::string problem;
    icon = CanReadRegularFile(GAME_ICON_FILENAME, problem) ? IMG_Load(GAME_ICON_FILENAME) : nullptr;
    if (!icon) {
        if (!problem.empty()) {
            Log::Get().Write(LOG_APP, "Cannot read '%s': %s", GAME_ICON_FILENAME, problem.c_str());
        }
        Log::Get().Write(LOG_ERROR, "Cannot load icon!");
        return false;
    }
    // The classic SDL 1.2 library crashes setting an icon without a video subsystem (an
    // unreachable display); the video task reports that failure next.
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_WM_SetIcon(icon, nullptr);
    }
    return true;
}

bool Game::AddTasks() {
    InputTask::padsRaw = joyRaw;
    if (!AddTask(kernel, timerTask, GAME_TIMER_PRIORITY, "Error Initialising the Timer!") ||
        !AddTask(kernel, inputTask, GAME_INPUT_PRIORITY, "Error Initialising the Input!")) {
        return false;
    }
    ApplyVideoSettings();
    if (!AddTask(kernel, videoTask, GAME_VIDEO_PRIORITY, "Error Initialising the Video!") ||
        !AddTask(kernel, infoTextTask, GAME_INFOTEXT_PRIORITY,
                 "Error Initialising the Info Text Drawing Task!") ||
        !AddTask(kernel, testTask, GAME_TEST_PRIORITY, "Error Initialising the Test Task!")) {
        return false;
    }
    testTask->video = videoTask;
    return AddWorldTask();
}

// The world's Start reads the saved high score and the sound switches.
bool Game::AddWorldTask() {
    worldTask = new WorldTask;
    worldTask->priority = GAME_WORLD_PRIORITY;
    worldTask->my_soundSystem = soundSystem;
    worldTask->my_highScore = highScore;
    worldTask->my_playSounds = soundEffects;
    worldTask->my_playMusic = soundMusic;
    worldTask->my_padPauseButton = joyPauseButton;
    worldTask->my_watchFile = watchFile;
    testTask->world = worldTask;
    if (!kernel->AddTask(worldTask)) {
        Log::Get().Write(LOG_ERROR, "Error Initialising the World Task!");
        return false;
    }
    // The reason is on standard error and in the log; a box would stop a script.
    return !(worldTask->my_watchRefused && PLATFORM_QUITS);
}

// The video task's Start reads the mode from its statics.
void Game::ApplyVideoSettings() {
    VideoUpdate::screenWidth = videoWidth;
    VideoUpdate::screenHeight = videoHeight;
    VideoUpdate::screenBPP = videoBPP;
    VideoUpdate::screenFullScreen = videoFullScreen;
    VideoUpdate::screenVSync = videoVSync;
}

void Game::SetDefaultSettings(Settings* registry) {
    registry->RegisterVariable(stringVideoWidth, &datorVideoWidth);
    registry->RegisterVariable(stringVideoHeight, &datorVideoHeight);
    registry->RegisterVariable(stringVideoBPP, &datorVideoBPP);
    registry->RegisterVariable(stringVideoFullScreen, &datorVideoFullScreen);
    registry->RegisterVariable(stringVideoVSync, &datorVideoVSync);
    registry->RegisterVariable(stringHighScore, &datorHighScore);
    registry->RegisterVariable(stringSoundEffects, &datorSoundEffects);
    registry->RegisterVariable(stringSoundMusic, &datorSoundMusic);
    registry->RegisterVariable(stringJoyRaw, &datorJoyRaw);
    registry->RegisterVariable(stringJoyPauseButton, &datorJoyPauseButton);
    // Another copy of the game in the same folder may have beaten the best meanwhile.
    registry->keepLarger.insert(stringHighScore);
}

bool Game::InitSound() {
    FMOD_Debug_SetCallback(LogSoundNote);
    if (!FMOD_ERRORCHECK(FMOD_System_Create(&soundSystem))) {
        return false;
    }
    unsigned int version = 0;
    if (!FMOD_ERRORCHECK(FMOD_System_GetVersion(soundSystem, &version))) {
        return false;
    }
    if (version < GAME_FMOD_VERSION) {
        Log::Get().Write(LOG_ERROR,
                         "Error!  You are using an old version of FMOD %08x.  This program "
                         "requires %08x\n",
                         version, GAME_FMOD_VERSION);
        return false;
    }
    return FMOD_ERRORCHECK(
        FMOD_System_Init(soundSystem, GAME_SOUND_CHANNELS, FMOD_INIT_NORMAL, nullptr));
}

void Game::ReleaseSound() {
    if (!soundSystem) {
        return;
    }
    FMOD_RESULT result = FMOD_System_Close(soundSystem);
    if (result != FMOD_OK) {
        Log::Get().Write(LOG_ERROR, "Error closing FMOD! Error: (%d) %s", result,
                         FMOD_ErrorString(result));
        return;
    }
    result = FMOD_System_Release(soundSystem);
    soundSystem = nullptr;
    if (result != FMOD_OK) {
        Log::Get().Write(LOG_ERROR, "Error releasing FMOD! Error: (%d) %s", result,
                         FMOD_ErrorString(result));
    }
}

// The sound library closes its audio device through SDL, so it goes before SDL shuts down.
void Game::ShutDown() {
    ReleaseSound();
    delete kernel;  // shuts SDL down
    delete settings;
    kernel = nullptr;
    settings = nullptr;
    SDL_FreeSurface(icon);
    icon = nullptr;
    delete worldTask;
    delete testTask;
    delete infoTextTask;
    delete videoTask;
    delete inputTask;
    delete timerTask;
    worldTask = nullptr;
    testTask = nullptr;
    infoTextTask = nullptr;
    videoTask = nullptr;
    inputTask = nullptr;
    timerTask = nullptr;
}
