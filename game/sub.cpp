// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/sub.h"

#include <GL/gl.h>

#include "game/drawing.h"
#include "game/game_constants.h"

void Sub::Reset() {
    velocity = SUB_STANDARD_SPEED;
    targetSpeed = velocity;
    state = SUB_SWIMMING;
}

void Sub::Update(double dT) {
    SwimBelowSurface(*this, dT, [this](double turn) { DownThrust(turn); });
    ApproachTargetSpeed(dT);
    if (state == SUB_DRONING) {
        Drone(dT);
    }
}

// The velocity trails the target speed; the target speed sinks back to the standard speed.
void Sub::ApproachTargetSpeed(double dT) {
    double change = SUB_ACCELERATION * dT;
    velocity = StepTowards(velocity, targetSpeed, change);
    targetSpeed = StepTowards(targetSpeed, SUB_STANDARD_SPEED, change);
}

// Climbs for one period and dives for the next. The timer is tested once a step, so after a
// very long step rising and diving swap on every step until it has run down.
void Sub::Drone(double dT) {
    my_droneTimer += dT;
    if (my_droneTimer >= SUB_DRONE_PERIOD) {
        my_droneTimer -= SUB_DRONE_PERIOD;
        myDroneRise = !myDroneRise;
    }
    if (myDroneRise) {
        UpThrust(dT);
    } else {
        DownThrust(dT);
    }
}

void Sub::UpThrust(double dT) {
    angle += SUB_ANGLE_PER_SECOND * dT;
    if (angle > SUB_MAX_ANGLE) {
        angle = SUB_MAX_ANGLE;
    }
}

void Sub::DownThrust(double dT) {
    angle -= SUB_ANGLE_PER_SECOND * dT;
    if (angle < SUB_MIN_ANGLE) {
        angle = SUB_MIN_ANGLE;
    }
}

// Each boost halves the gap to SUB_SPEED_BOOST: 1.75, 2.125, 2.3125, 2.40625 ...
void Sub::SpeedBoost() {
    targetSpeed = (targetSpeed + SUB_SPEED_BOOST) / 2;
}

void Sub::Collision() {
    velocity = SUB_COLLISION_SPEED;
}

void Sub::GetChomped() {
    state = SUB_CHOMPED;
}

// At the pace of the target speed, so it spins on right after a collision.
void Sub::AdvancePropeller(double frameTime) {
    propTimerDelta += frameTime;
    double bladeTime = SUB_PROP_FRAME_TIME / targetSpeed;
    while (propTimerDelta >= bladeTime) {
        propTimerDelta -= bladeTime;
        propState = (propState + 1) % 4;
    }
}

void Sub::Draw(double frameTime) {
    if (state == SUB_CHOMPED) {
        return;  // inside the big fish
    }
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    glRotatef(static_cast<float>(angle), 0.0f, 0.0f, 1.0f);
    DrawImageQuad(IMG_SUB, -SUB_HALF_LENGTH, SUB_HALF_HEIGHT, SUB_HALF_LENGTH, -SUB_HALF_HEIGHT);
    AdvancePropeller(frameTime);
    // Frames 1, 2, 3, then 2 upside down: a full turn of the blades.
    static const int PROP_IMAGES[4] = {IMG_PROP1, IMG_PROP2, IMG_PROP3, IMG_PROP2};
    glTranslatef(SUB_PROP_X, SUB_PROP_Y, 0.0f);
    DrawImageQuad(PROP_IMAGES[propState], -SUB_PROP_HALF_SIZE, SUB_PROP_HALF_SIZE,
                  SUB_PROP_HALF_SIZE, -SUB_PROP_HALF_SIZE, 1.0f, 1.0f, 1.0f, 1.0f, propState == 3);
    glPopMatrix();
}
