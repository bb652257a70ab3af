// SPDX-License-Identifier: GPL-3.0-or-later
// The predator: hunts the submarine in a game and escorts it on the title menu.
#pragma once

#include "game/entity.h"

enum BIGFISH_MODE { BIGFISH_IDLE = 0, BIGFISH_CHASE = 1, BIGFISH_ESCORT = 3 };

class Sub;

class BigFish final : public Entity {
public:
    int mode = BIGFISH_IDLE;    // idle: neither drawn nor steered, though it still moves
    int tailFrame = 0;          // 0 to 3
    int faceFrame = 0;          // 0 ahead of the submarine, 1 chasing, 2 mouth wide open
    int flipperFrame = 0;       // 0 to 3
    double targetSpeed = 0.0;   // units per second that velocity approaches this step
    double chaseSpeed = 0.0;    // units per second aimed at while behind; creeps up all game
    double turnSpeed = 0.0;     // degrees per second at most; creeps up too
    double flipperTimer = 0.0;  // seconds into the flipper frame
    double tailTimer = 0.0;     // seconds into the tail frame

    BigFish() { Reset(); }

    void Reset() override;
    void Update(double dT);
    // From the mouth, 15 degrees below the heading near the snout, to the submarine's centre.
    double ChompDistance();
    void Chomp();
    void Draw();

private:
    static Sub& Prey();
    double AimAtPrey(bool ahead);
    void Steer(double targetAngle, double dT);
    void ApproachTargetSpeed(double dT);
    void Move(double dT);
    void Animate(double dT);
    void Escort();
};
