// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps a per-frame copy of the keyboard's held keys, and what the window was told meanwhile.
#pragma once

#include <cstdint>

#include "engine/gamepads.h"
#include "engine/task.h"

// The copy stays the same for the whole frame. It says which keys are held, not when they
// went down: readers that need the press keep their own flag of the previous frame. A key
// pressed and released between two copies still shows held in one and released in the next,
// so a short tap is never lost on a slow frame.
// The kind of control the player used last, so that the game can name the right ones.
enum INPUT_DEVICE { INPUT_KEYS, INPUT_MOUSE, INPUT_TOUCH, INPUT_PAD };

class InputTask final : public Task {
public:
    static std::uint8_t*
        pressedKeys;  // indexed by SDLK_ symbol, non-zero while held; null outside Start..Stop
    static int keyCount;
    // Since the previous copy:
    static bool quitRequested;  // the window's close button was pressed
    static bool focusLost;  // another window took the keyboard, this one was minimised, a pad left
    // The left mouse button or a finger held on the window, shown frame by frame as the keys
    // are, so that a quick click is seen held for one frame too.
    static bool pointerHeld;
    static int pointerX;  // where the last press went down, in window pixels from the top left
    static int pointerY;
    static Gamepads pads;  // read once a frame, with the keys
    static bool padsRaw;   // set before Start: read pads in their own order, not SDL2's
    // What was pressed last; before anything is, a pad when one is plugged in, a finger on a
    // screen for fingers, else the keys.
    static INPUT_DEVICE lastUsed;

    bool Start() override;
    void Update() override;
    void Stop() override;

    static bool AltHeld();  // either Alt key, in this frame's copy
};
