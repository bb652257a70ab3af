// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/input_task.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/log.h"

std::uint8_t* InputTask::pressedKeys = nullptr;
int InputTask::keyCount = 0;
bool InputTask::quitRequested = false;
bool InputTask::focusLost = false;

namespace {

// Each key's changes of state that no copy has shown yet; the copy shows one a frame.
std::uint8_t unshownChanges[SDLK_LAST];

void TakeEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int key = event.key.keysym.sym;
            if (key >= 0 && key < SDLK_LAST && unshownChanges[key] < UINT8_MAX) {
                ++unshownChanges[key];
            }
            break;
        }
        case SDL_QUIT:
            InputTask::quitRequested = true;
            break;
        case SDL_ACTIVEEVENT:
            if (!event.active.gain && (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE))) {
                InputTask::focusLost = true;
            }
            break;
        default:
            break;
    }
}

}  // namespace

bool InputTask::Start() {
    const Uint8* keys = SDL_GetKeyState(&keyCount);
    pressedKeys = new (std::nothrow) std::uint8_t[keyCount];
    if (!pressedKeys) {
        Log::Get().Write(LOG_ERROR, "Can't allocate memory for storing the keys!");
        return false;
    }
    std::memcpy(pressedKeys, keys, keyCount);
    std::memset(unshownChanges, 0, sizeof unshownChanges);
    quitRequested = false;
    focusLost = false;
    SDL_PumpEvents();
    return true;
}

// Every event passes through here, so no key change is taken by another reader unseen. A
// key with a change not yet shown flips once this frame; any other shows SDL's own table.
void InputTask::Update() {
    quitRequested = false;
    focusLost = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        TakeEvent(event);
    }
    int count = 0;
    const Uint8* held = SDL_GetKeyState(&count);
    // SDL's table has a fixed length; never copy more than was allocated.
    count = std::min({count, keyCount, static_cast<int>(SDLK_LAST)});
    for (int key = 0; key < count; ++key) {
        if (unshownChanges[key] > 0) {
            pressedKeys[key] = !pressedKeys[key];
            --unshownChanges[key];
        } else {
            pressedKeys[key] = held[key];
        }
    }
}

void InputTask::Stop() {
    delete[] pressedKeys;
    pressedKeys = nullptr;
}

bool InputTask::AltHeld() {
    return pressedKeys[SDLK_LALT] || pressedKeys[SDLK_RALT];
}
