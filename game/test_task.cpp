// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/test_task.h"

#include <SDL.h>

#include "engine/input_task.h"
#include "engine/kernel.h"
#include "engine/log.h"
#include "engine/settings.h"
#include "engine/video_update.h"
#include "game/game_constants.h"
#include "game/world_task.h"
#include "platform/player_files.h"
#include "platform/quit_signal.h"
#include "platform/sdl_port.h"

void TestTask::Update() {
    HandleQuitRequests();
    const std::uint8_t* keys = InputTask::pressedKeys;
    if (soundKeyToggle.Pressed(keys[SDLK_F2])) {
        ToggleSoundEffects();
    }
    if (musicKeyToggle.Pressed(keys[SDLK_F3])) {
        ToggleMusic();
    }
    if (fullScreenKeyToggle.Pressed(keys[SDLK_F11] ||
                                    (keys[SDLK_RETURN] && InputTask::AltHeld()))) {
        ToggleFullScreen();
    }
}

namespace {

// The choice is kept in the settings, so the next start opens as this one ends: written at
// the quit, or at once where the game is never quit.
void KeepSwitch(std::string& name, bool on) {
    Settings* settings = Singleton<Settings>::GetPointer();
    static_cast<Dator<bool>*>(settings->GetVariable(name))->GetValue() = on;
    if (!PLATFORM_QUITS) {
        settings->WriteFile(PlayerFilePath(GAME_SETTINGS_FILENAME));
    }
}

}  // namespace

void TestTask::ToggleSoundEffects() {
    world->my_playSounds = !world->my_playSounds;
    KeepSwitch(stringSoundEffects, world->my_playSounds);
    Log::Get().Write(LOG_APP, "Sound effects %s", world->my_playSounds ? "on" : "off");
}

// The music channel is paused or resumed at once.
void TestTask::ToggleMusic() {
    world->my_playMusic = !world->my_playMusic;
    KeepSwitch(stringSoundMusic, world->my_playMusic);
    Log::Get().Write(LOG_APP, "Music %s", world->my_playMusic ? "on" : "off");
    if (world->my_playMusic) {
        world->StartMusic();
    } else {
        world->StopMusic();
    }
}

void TestTask::ToggleFullScreen() {
    if (!video->ToggleFullScreen()) {
        return;  // the log says why; the game plays on as it was
    }
    Log::Get().Write(LOG_APP, "Full screen %s", VideoUpdate::screenFullScreen ? "on" : "off");
    KeepSwitch(stringVideoFullScreen, VideoUpdate::screenFullScreen);
}

void TestTask::HandleQuitRequests() {
    // An Escape that left a replay quits nothing until it is pressed again.
    bool escape =
        PLATFORM_QUITS && InputTask::pressedKeys[SDLK_ESCAPE] && !(world && world->my_escapeTaken);
    if (InputTask::quitRequested || QuitSignalled() || escape) {
        Singleton<Kernel>::GetPointer()->KillAllTasks();
    }
}
