// SPDX-License-Identifier: GPL-3.0-or-later
// Logs the frame rate every few seconds.
#pragma once

#include "engine/task.h"

class InfoTextTask final : public Task {
public:
    double framesPerSecond = 0.0;   // the rate at the last report
    int frameCount = 0;             // frames since the last report
    double elapsedTime = 0.0;       // seconds since the last report
    bool firstFrameLogged = false;  // the start-up time has been logged

    bool Start() override;
    void Update() override;
    void Stop() override {}
    void Display() {}  // the rate is only logged, never drawn
};
