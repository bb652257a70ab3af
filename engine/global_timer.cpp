// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/global_timer.h"

#include <SDL.h>

namespace {
std::uint32_t SdlTicks() {
    return SDL_GetTicks();
}
}  // namespace

double GlobalTimer::deltaTime = 0.0;
std::uint32_t GlobalTimer::deltaIndex = 0;
std::uint32_t GlobalTimer::thisFrameIndex = 0;
std::uint32_t GlobalTimer::lastFrameIndex = 0;
GlobalTimer::TickSource GlobalTimer::tickSource = SdlTicks;

bool GlobalTimer::Start() {
    thisFrameIndex = tickSource();
    lastFrameIndex = thisFrameIndex;
    deltaTime = 0.0;
    return true;
}

// No cap and no smoothing: a long frame gives a long step.
void GlobalTimer::Update() {
    lastFrameIndex = thisFrameIndex;
    thisFrameIndex = tickSource();
    deltaIndex = thisFrameIndex - lastFrameIndex;  // unsigned, so the counter's wrap cancels out
    deltaTime = static_cast<double>(deltaIndex) / 1000.0;
}
