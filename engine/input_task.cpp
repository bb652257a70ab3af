// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/input_task.h"

#include <SDL.h>

#include <cstring>
#include <new>

#include "engine/log.h"

std::uint8_t* InputTask::pressedKeys = nullptr;
int InputTask::keyCount = 0;

bool InputTask::Start() {
    const Uint8* keys = SDL_GetKeyState(&keyCount);
    pressedKeys = new (std::nothrow) std::uint8_t[keyCount];
    if (!pressedKeys) {
        Log::Get().Write(LOG_ERROR, "Can't allocate memory for storing the keys!");
        return false;
    }
    std::memcpy(pressedKeys, keys, keyCount);
    SDL_PumpEvents();
    return true;
}

void InputTask::Update() {
    SDL_PumpEvents();
    int count = 0;
    const Uint8* keys = SDL_GetKeyState(&count);
    // SDL's table has a fixed length; never copy more than was allocated.
    std::memcpy(pressedKeys, keys, count < keyCount ? count : keyCount);
}

void InputTask::Stop() {
    delete[] pressedKeys;
    pressedKeys = nullptr;
}
