// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/seed_weed.h"

#include <GL/gl.h>

#include <cmath>

#include "game/drawing.h"
#include "game/game_constants.h"
#include "platform/random.h"

void SeedWeed::Reset() {
    velocity = 0;
    angle = 0;
    SetWiggleTime();
    soundDelay = 0;
}

void SeedWeed::SetWiggleTime() {
    wiggleTime = tobrin::rand() * SEEDWEED_WIGGLE_MAX_TIME / tobrin::RAND_MAX15;
}

void SeedWeed::Update(double dT) {
    if (velocity <= SEEDWEED_FRICTION_VELOCITY) {
        velocity = 0;
    }
    if (velocity > 0) {
        Drift(dT);
    }
    if (velocity == 0) {
        Twitch(dT);
    }
}

// Slows by the same share per second however the time is split into steps. At the surface it
// is put exactly onto it.
void SeedWeed::Drift(double dT) {
    double dy = RiseAlongHeading(*this, dT);
    if (y >= 0 && dy > 0) {
        dy = 0;
        y = 0;
    }
    y += dy;
    AdvanceAlongHeading(*this, dT);
    velocity = std::pow(SEEDWEED_VELOCITY_DAMPENER, dT) * velocity;
    wiggleTimer = 0;
}

// After a random rest it sets off slowly in a random direction.
void SeedWeed::Twitch(double dT) {
    wiggleTimer += dT;
    if (wiggleTimer > wiggleTime) {
        angle = tobrin::rand() * DEGREES_PER_TURN / tobrin::RAND_MAX15;
        velocity = tobrin::rand() * SEEDWEED_WIGGLE_MAX_SPEED / tobrin::RAND_MAX15;
        wiggleTimer = 0;
        SetWiggleTime();
    }
}

// The weed always stands upright, its strands rising from the seed's bottom edge.
void SeedWeed::DrawUnder() {
    double seed = SEEDWEED_DRAW_SIZE;
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    DrawImageQuad(IMG_SEEDWEED_SEED, -seed, seed, seed, -seed);
    glTranslatef(0.0f, -SEEDWEED_DRAW_SIZE, 0.0f);
    DrawImageQuad(IMG_SEEDWEED_1 + strandUnder, -SEEDWEED_DRAW_WIDTH, SEEDWEED_DRAW_HEIGHT,
                  SEEDWEED_DRAW_WIDTH, 0.0, SEEDWEED_BACK_SHADE, SEEDWEED_BACK_SHADE,
                  SEEDWEED_BACK_SHADE, SEEDWEED_STRAND_ALPHA);
    glPopMatrix();
}

void SeedWeed::DrawOver() {
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y - SEEDWEED_DRAW_SIZE), 0.0f);
    DrawImageQuad(IMG_SEEDWEED_1 + strandOver, -SEEDWEED_DRAW_WIDTH, SEEDWEED_DRAW_HEIGHT,
                  SEEDWEED_DRAW_WIDTH, 0.0, 1.0f, 1.0f, 1.0f, SEEDWEED_STRAND_ALPHA);
    glPopMatrix();
}
