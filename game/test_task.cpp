#include "game/test_task.h"

#include <SDL.h>

#include "engine/input_task.h"
#include "engine/kernel.h"
#include "platform/quit_signal.h"

bool TestTask::soundsOn = true;
bool TestTask::musicOn = true;

void TestTask::Update() {
    HandleQuitRequests();
    const std::uint8_t* keys = InputTask::pressedKeys;
    if (soundKeyToggle.Pressed(keys[SDLK_F2])) {
        soundsOn = !soundsOn;
    }
    if (musicKeyToggle.Pressed(keys[SDLK_F3])) {
        musicOn = !musicOn;
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
