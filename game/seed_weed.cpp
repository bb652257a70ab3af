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
    DrawStrand(strandUnder, SEEDWEED_BACK_SHADE);
    glPopMatrix();
}

void SeedWeed::DrawOver() {
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y - SEEDWEED_DRAW_SIZE), 0.0f);
    DrawStrand(strandOver, 1.0f);
    glPopMatrix();
}

// From the foot, in its frame. A weed near the surface would wave its strands in the air: they
// end at the waterline, where the sea's surface is y = 0.
void SeedWeed::DrawStrand(int strand, float shade) const {
    double surface = -(y - SEEDWEED_DRAW_SIZE);
    bool reachesAir = SEEDWEED_DRAW_HEIGHT > surface;
    if (reachesAir) {
        BeginBelow(surface);
    }
    DrawImageQuad(IMG_SEEDWEED_1 + strand, -SEEDWEED_DRAW_WIDTH, SEEDWEED_DRAW_HEIGHT,
                  SEEDWEED_DRAW_WIDTH, 0.0, shade, shade, shade, SEEDWEED_STRAND_ALPHA);
    if (reachesAir) {
        EndBelow();
    }
}
