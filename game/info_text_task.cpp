// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/info_text_task.h"

#include "engine/global_timer.h"
#include "engine/log.h"
#include "game/game_constants.h"

bool InfoTextTask::Start() {
    frameCount = 0;
    elapsedTime = 0.0;
    return true;
}

// Time past the interval is dropped, not carried into the next report.
void InfoTextTask::Update() {
    if (!firstFrameLogged) {
        // The world has drawn its first picture by now; SDL's clock started with the kernel.
        Log::Get().Write(LOG_APP, "First frame after %u ms", GlobalTimer::thisFrameIndex);
        firstFrameLogged = true;
    }
    ++frameCount;
    elapsedTime += GlobalTimer::deltaTime;
    if (elapsedTime >= INFOTEXT_UPDATE_TIME) {
        framesPerSecond = frameCount / elapsedTime;
        Log::Get().Write(LOG_APP, "Log info: FPS: %f", framesPerSecond);
        elapsedTime = 0.0;
        frameCount = 0;
    }
    Display();
}
