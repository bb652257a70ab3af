// SPDX-License-Identifier: GPL-3.0-or-later
// Measures each frame; runs first, so every later task reads the same fresh frame time.
#pragma once

#include <cstdint>

#include "engine/task.h"

class GlobalTimer final : public Task {
public:
    static double deltaTime;              // seconds, length of the last frame
    static std::uint32_t deltaIndex;      // milliseconds, length of the last frame
    static std::uint32_t thisFrameIndex;  // milliseconds, tick count at the start of this frame
    static std::uint32_t lastFrameIndex;  // milliseconds, tick count at the start of the last frame

    // Where tick counts come from: SDL's milliseconds since start, or a test's own clock.
    using TickSource = std::uint32_t (*)();
    static TickSource tickSource;

    bool Start() override;
    void Update() override;
    void Stop() override {}
};
