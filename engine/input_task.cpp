// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/input_task.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/log.h"
#include "platform/sdl_port.h"

std::uint8_t* InputTask::pressedKeys = nullptr;
int InputTask::keyCount = 0;
bool InputTask::quitRequested = false;
bool InputTask::focusLost = false;
bool InputTask::pointerHeld = false;
int InputTask::pointerX = 0;
int InputTask::pointerY = 0;
Gamepads InputTask::pads;
bool InputTask::padsRaw = false;
INPUT_DEVICE InputTask::lastUsed = INPUT_KEYS;

namespace {

struct KeyChange {
    int key;  // SDLK_ symbol
    bool held;
};

// The left button, or a finger on a touch screen, held down: shown with the keys, after them.
const int POINTER_SLOT = SDLK_LAST;

std::uint32_t padButtonsBefore = 0;  // the pads' buttons held in the previous frame

// Key changes not shown yet, in the order they came.
KeyChange unshown[INPUT_MAX_UNSHOWN_CHANGES];
int unshownCount = 0;

void TakeEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int key = event.key.keysym.sym;
            if (key >= 0 && key < std::min(InputTask::keyCount, static_cast<int>(SDLK_LAST)) &&
                unshownCount < INPUT_MAX_UNSHOWN_CHANGES) {
                unshown[unshownCount++] = {key, event.type == SDL_KEYDOWN};
            }
            InputTask::lastUsed = event.type == SDL_KEYDOWN ? INPUT_KEYS : InputTask::lastUsed;
            break;
        }
        case SDL_QUIT:
            InputTask::quitRequested = true;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT &&
                unshownCount < INPUT_MAX_UNSHOWN_CHANGES) {
                unshown[unshownCount++] = {POINTER_SLOT, event.type == SDL_MOUSEBUTTONDOWN};
                if (event.type == SDL_MOUSEBUTTONDOWN) {
                    InputTask::pointerX = event.button.x;
                    InputTask::pointerY = event.button.y;
                    InputTask::lastUsed = PointerIsTouch() ? INPUT_TOUCH : INPUT_MOUSE;
                }
            }
            break;
        default:
            InputTask::focusLost = InputTask::focusLost || LosesThePlayer(event);
            break;
    }
}

// Applies the changes in order until one would change a key a second time; the rest wait
// for the next frame. So a tap shows held, then released, and a chord such as Alt+Enter
// shows together even when it was pressed and let go within one slow frame.
void ShowChanges(std::uint8_t* keys) {
    static bool changed[POINTER_SLOT + 1];
    std::fill(std::begin(changed), std::end(changed), false);
    int shown = 0;
    for (; shown < unshownCount && !changed[unshown[shown].key]; ++shown) {
        const KeyChange& change = unshown[shown];
        if (change.key == POINTER_SLOT) {
            InputTask::pointerHeld = change.held;
        } else {
            keys[change.key] = change.held;
        }
        changed[change.key] = true;
    }
    std::copy(unshown + shown, unshown + unshownCount, unshown);
    unshownCount -= shown;
}

}  // namespace

bool InputTask::Start() {
    const Uint8* keys = HeldKeyTable(&keyCount);
    pressedKeys = new (std::nothrow) std::uint8_t[keyCount];
    if (!pressedKeys) {
        Log::Get().Write(LOG_ERROR, "Can't allocate memory for storing the keys!");
        return false;
    }
    std::memcpy(pressedKeys, keys, keyCount);
    unshownCount = 0;
    pointerHeld = false;
    pads.Open(padsRaw);
    lastUsed = !pads.pads.empty() ? INPUT_PAD : TouchScreen() ? INPUT_TOUCH : INPUT_KEYS;
    quitRequested = false;
    focusLost = false;
    SDL_PumpEvents();
    return true;
}

// Every event passes through here, so no key change is taken by another reader unseen. Once
// every change has been shown, the copy is SDL's own table of held keys.
void InputTask::Update() {
    quitRequested = false;
    focusLost = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        TakeEvent(event);
    }
    ShowChanges(pressedKeys);
    pads.Read(WindowHasFocus());
    std::uint32_t padButtons = 0;
    for (const Gamepad& pad : pads.pads) {
        padButtons |= pad.held;
    }
    lastUsed = (padButtons & ~padButtonsBefore) ? INPUT_PAD : lastUsed;
    padButtonsBefore = padButtons;
    focusLost = focusLost || pads.lost;  // a pad pulled out mid-game pauses it, as going away does
    if (unshownCount == 0) {
        int count = 0;
        const Uint8* held = HeldKeyTable(&count);
        // SDL's table has a fixed length; never copy more than was allocated.
        std::memcpy(pressedKeys, held, std::min(count, keyCount));
    }
}

void InputTask::Stop() {
    pads.Close();
    delete[] pressedKeys;
    pressedKeys = nullptr;
}

bool InputTask::AltHeld() {
    return pressedKeys[SDLK_LALT] || pressedKeys[SDLK_RALT];
}
