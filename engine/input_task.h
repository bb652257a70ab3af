// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps a per-frame copy of the keyboard's held keys.
#pragma once

#include <cstdint>

#include "engine/task.h"

// The copy stays the same for the whole frame, even when a later task polls events. It says
// which keys are held, not when they went down: readers that need the press keep their own
// flag of the previous frame.
class InputTask final : public Task {
public:
    static std::uint8_t*
        pressedKeys;  // indexed by SDLK_ symbol, non-zero while held; null outside Start..Stop
    static int keyCount;

    bool Start() override;
    void Update() override;
    void Stop() override;
};
