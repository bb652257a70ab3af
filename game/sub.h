// SPDX-License-Identifier: GPL-3.0-or-later
// Tobrin, the player's submarine.
#pragma once

#include "game/entity.h"

enum SUB_STATE { SUB_SWIMMING = 0, SUB_CHOMPED = 1, SUB_DRONING = 2 };

// Always moves forward along its heading; the player only pitches it. Every press and
// release of the thrust key boosts the speed, which then wears off.
class Sub final : public Entity {
public:
    double targetSpeed = 0.0;  // units per second that velocity approaches; never below 1.0
    int state = SUB_SWIMMING;

    // The menu's rise and dive, kept across games and menu visits.
    bool myDroneRise = true;
    double my_droneTimer = 0.0;  // seconds into the current rise or dive
    // The propeller's frame, advanced by drawing with the measured frame time.
    int propState = 0;            // 0 to 3
    double propTimerDelta = 0.0;  // seconds into the current frame

    Sub() { Reset(); }

    // Standard speed and swimming; position and heading stay.
    void Reset() override;
    void Update(double dT);
    // The propeller turns with the frame's time, so it turns on while the world is paused.
    void Draw(double frameTime);

    void UpThrust(double dT);
    void DownThrust(double dT);
    void SpeedBoost();
    void Collision();  // stopped dead by seed weed; the target speed stays
    void GetChomped();

private:
    void ApproachTargetSpeed(double dT);
    void Drone(double dT);
    void AdvancePropeller(double frameTime);
};
