// SPDX-License-Identifier: GPL-3.0-or-later
// A caption: a picture on four free corners that glides toward a destination.
#pragma once

#include "game/entity.h"

class Billboard final : public Entity {
public:
    bool visible = false;
    int image = 1;  // an IMAGES value
    // Corners relative to the position: 0 the picture's lower left, 1 its upper left,
    // 2 its lower right, 3 its upper right.
    double cornerX[4] = {};
    double cornerY[4] = {};
    double approachRate = 1.0;  // halvings per second of the distance to the destination
    double destinationX = 0.0;
    double destinationY = 0.0;

    Billboard() { Reset(); }

    // A hidden 2 x 2 square; position and destination stay.
    void Reset() override;
    // Halves the distance every 1 / approachRate seconds, whatever the frame rate.
    void Update(double dT);
    void Draw();
};
