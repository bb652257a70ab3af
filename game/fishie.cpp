// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/fishie.h"

#include <GL/gl.h>

#include <cmath>

#include "game/drawing.h"
#include "game/game_constants.h"
#include "game/world_view.h"

void Fishie::Reset() {
    velocity = FISHIE_STANDARD_VELOCITY;
    angle = 0;
    rising = true;
    state = FISHIE_SWIMMING;
    swallowTarget = nullptr;
    SetType(FISHIE_RED);
}

void Fishie::SetType(FISHIE_TYPE) {
    value = 1;
}

void Fishie::Update(double dT) {
    if (state == FISHIE_SWIMMING) {
        SwimBelowSurface(*this, dT, [this](double turn) { DownThrust(turn); });
        Wander(dT);
    } else if (state == FISHIE_SWALLOWED) {
        HomeIn(dT);
    }
}

// Swings between the two turning points: 15 degrees in 3 seconds, a 12-second period.
void Fishie::Wander(double dT) {
    if (rising) {
        angle += FISHIE_ANGLE_SPEED * dT;
        if (angle >= FISHIE_MAX_ANGLE) {
            angle = FISHIE_MAX_ANGLE;
            rising = false;
        }
    } else {
        angle -= FISHIE_ANGLE_SPEED * dT;
        if (angle <= FISHIE_MIN_ANGLE) {
            angle = FISHIE_MIN_ANGLE;
            rising = true;
        }
    }
}

// Spins toward the target, never past it on either axis. It is eaten on arrival, or once the
// target has passed it, both judged from where it was before this step's move.
void Fishie::HomeIn(double dT) {
    velocity += FISHIE_SWALLOW_ACCELERATION * dT;
    if (!swallowTarget) {
        Eaten();
        return;
    }
    double dx = swallowTarget->x - x;
    double dy = swallowTarget->y - y;
    double d = std::sqrt(dx * dx + dy * dy);
    if (d > 0) {
        double sx = dx / d * velocity * dT;
        double sy = dy / d * velocity * dT;
        if (std::fabs(sx) > std::fabs(dx)) {
            sx = dx;
        }
        if (std::fabs(sy) > std::fabs(dy)) {
            sy = dy;
        }
        angle += FISHIE_SWALLOW_SPIN * dT;
        x += sx;
        y += sy;
    }
    if (d < FISHIE_SWALLOW_EPSILON || dx > 0) {
        Eaten();
    }
}

void Fishie::DownThrust(double dT) {
    angle -= FISHIE_ANGLE_SPEED * dT;
    if (angle < FISHIE_MIN_ANGLE) {
        angle = FISHIE_MIN_ANGLE;
    }
}

// Scores, and is heard only during a game. What the submarine eats in the simulated past of a
// restock happened before the scene began, so it neither scores nor sounds.
void Fishie::Eaten() {
    state = FISHIE_EATEN;
    Kill();
    WorldView& world = TheWorld();
    if (world.AddPoints(value) && world.InGame()) {
        world.PlaySoundVariant(SND_COLLECT1);
    }
}

// An eaten fishie is drawn until the pool takes it back.
void Fishie::Draw() {
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    glRotatef(static_cast<float>(angle), 0.0f, 0.0f, 1.0f);
    DrawImageQuad(IMG_FISHIE_RED, -FISHIE_HALF_SIZE, FISHIE_HALF_SIZE, FISHIE_HALF_SIZE,
                  -FISHIE_HALF_SIZE);
    glPopMatrix();
}
