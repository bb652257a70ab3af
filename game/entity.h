// The base of everything that has a place in the world.
#pragma once

#include "engine/pool.h"

// Abstract: Reset stays pure until a concrete class defines it. Each concrete class has its
// own non-virtual Update(double dT) and Draw(); only Reset is called through the base.
class Entity : public PoolElement {
public:
    double x = 0.0;         // world units
    double y = 0.0;         // world units, growing upwards; the sea surface is y = 0
    double velocity = 0.0;  // world units per second along the heading
    double angle = 0.0;     // degrees, counter-clockwise from +x

protected:
    ~Entity() = default;
};
