// SPDX-License-Identifier: GPL-3.0-or-later
// The view's centre: glides after a followed point, so the view trails it smoothly.
#pragma once

#include "game/entity.h"

class Camera final : public Entity {
public:
    double* targetX = nullptr;  // the followed x; owned by another entity
    double* targetY = nullptr;
    double* secondTargetX = nullptr;  // a second followed point; Update does not read it
    double* secondTargetY = nullptr;
    double offsetX = 0.0;  // added to the followed x
    double offsetY = 0.0;

    Camera() { Reset(); }

    // Forgets the targets and offsets; the position stays where it is.
    void Reset() override;

    // Closes CAMERA_SPEED * dT of the remaining distance to the goal, at most all of it, so
    // the approach never overshoots. targetX and targetY must be set.
    void Update(double dT);
};
