// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/camera.h"

#include "game/game_constants.h"

void Camera::Reset() {
    targetX = nullptr;
    targetY = nullptr;
    secondTargetX = nullptr;
    secondTargetY = nullptr;
    offsetX = 0.0;
    offsetY = 0.0;
}

void Camera::Update(double dT) {
    double goalX = *targetX + offsetX;
    double goalY = *targetY + offsetY;
    double fraction = dT * CAMERA_SPEED;
    if (fraction > CAMERA_MAX_ERROR) {
        fraction = 1.0;
    }
    x -= (x - goalX) * fraction;
    y -= (y - goalY) * fraction;
}
