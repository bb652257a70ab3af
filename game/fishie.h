// SPDX-License-Identifier: GPL-3.0-or-later
// A small fish: zigzags along until the submarine swallows it, then homes in and is eaten.
#pragma once

#include "game/entity.h"

enum FISHIE_STATE { FISHIE_SWIMMING = 0, FISHIE_SWALLOWED = 1, FISHIE_EATEN = 2 };
enum FISHIE_TYPE { FISHIE_RED = 0 };

class Fishie final : public Entity {
public:
    bool rising = true;  // the wander turns the nose up
    int state = FISHIE_SWIMMING;
    Entity* swallowTarget = nullptr;  // what a swallowed fishie homes on; not owned
    int value = 1;                    // points it scores when eaten

    Fishie() { Reset(); }

    // Swims level and untouched; the place is set by whoever spawned it.
    void Reset() override;
    void SetType(FISHIE_TYPE type);
    void Update(double dT);
    void DownThrust(double dT);
    void Eaten();
    void Draw();

private:
    void Wander(double dT);
    void HomeIn(double dT);
};
