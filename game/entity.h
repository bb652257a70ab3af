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

// How far an entity rises (or sinks, below 0) in a step along its heading.
double RiseAlongHeading(const Entity& entity, double dT);
// Moves an entity forward along its heading; the rise is the caller's, for its surface rule.
void AdvanceAlongHeading(Entity& entity, double dT);
// Moves a value towards a goal by at most one step, never past it.
double StepTowards(double value, double goal, double step);
