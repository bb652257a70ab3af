// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/entity.h"

#include <cmath>

#include "game/game_constants.h"

double RiseAlongHeading(const Entity& entity, double dT) {
    return std::sin(entity.angle * PI / DEGREES_PER_HALF_TURN) * entity.velocity * dT;
}

void AdvanceAlongHeading(Entity& entity, double dT) {
    entity.x += std::cos(entity.angle * PI / DEGREES_PER_HALF_TURN) * entity.velocity * dT;
}

double StepTowards(double value, double goal, double step) {
    if (goal > value) {
        value += step;
        if (value > goal) {
            value = goal;
        }
    }
    if (value > goal) {
        value -= step;
        if (value < goal) {
            value = goal;
        }
    }
    return value;
}
