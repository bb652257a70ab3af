// SPDX-License-Identifier: GPL-3.0-or-later
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
// Swims along the heading as the submarine and the fishies do: the climb is worked out with the
// heading from before the surface rule, the forward move with the heading after it. At or above
// the surface a climb is cancelled and turnDown is called with twice the step; y is not
// clamped, so a step that crosses the surface from below stands and the next stops the rise.
template <typename TurnDown>
void SwimBelowSurface(Entity& entity, double dT, TurnDown turnDown) {
    double dy = RiseAlongHeading(entity, dT);
    if (entity.y >= 0 && dy > 0) {
        dy = 0;
        turnDown(2 * dT);
    }
    entity.y += dy;
    AdvanceAlongHeading(entity, dT);
}

// Moves a value towards a goal by at most one step, never past it.
double StepTowards(double value, double goal, double step);
