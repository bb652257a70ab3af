// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/test_task.h"

#include <SDL.h>

#include "engine/input_task.h"
#include "engine/kernel.h"
#include "engine/log.h"
#include "game/game.h"
#include "game/world_task.h"
#include "platform/quit_signal.h"

void TestTask::Update() {
    HandleQuitRequests();
    const std::uint8_t* keys = InputTask::pressedKeys;
    if (soundKeyToggle.Pressed(keys[SDLK_F2])) {
        ToggleSoundEffects();
    }
    if (musicKeyToggle.Pressed(keys[SDLK_F3])) {
        ToggleMusic();
    }
}

void TestTask::ToggleSoundEffects() {
    WorldTask::my_playSounds = !WorldTask::my_playSounds;
    Log::Get().Write(LOG_APP, "Sound effects %s", WorldTask::my_playSounds ? "on" : "off");
}

// The music channel is paused or resumed at once.
void TestTask::ToggleMusic() {
    WorldTask::my_playMusic = !WorldTask::my_playMusic;
    Log::Get().Write(LOG_APP, "Music %s", WorldTask::my_playMusic ? "on" : "off");
    WorldTask* world = Singleton<Game>::GetPointer()->worldTask;
    if (WorldTask::my_playMusic) {
        world->StartMusic();
    } else {
        world->StopMusic();
    }
}

// Every pending event is taken here; keys are read from the input snapshot instead.
void TestTask::HandleQuitRequests() {
    Kernel* kernel = Singleton<Kernel>::GetPointer();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            kernel->KillAllTasks();
        }
    }
    if (QuitSignalled() || InputTask::pressedKeys[SDLK_ESCAPE]) {
        kernel->KillAllTasks();
    }
}
