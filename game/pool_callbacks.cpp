// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/pool_callbacks.h"

#include <cmath>

#include "game/big_fish.h"
#include "game/game_constants.h"
#include "game/sub.h"
#include "game/world_view.h"
#include "platform/random.h"

namespace {

bool CanSwallowOrStrike(const Sub& sub) {
    return sub.state == SUB_SWIMMING || sub.state == SUB_DRONING;
}

// Sends a struck weed off rightwards, downwards when the striker is above it.
void Knock(SeedWeed* weed, double strikerY) {
    double angle = tobrin::frand() * SEEDWEED_STRIKE_ANGLE;
    if (strikerY > weed->y) {
        angle = -angle;
    }
    weed->angle = angle;
    weed->velocity = SEEDWEED_COLLISION_VELOCITY;
}

void SoundStrike(WorldView& world, SeedWeed* weed) {
    world.PlaySoundVariant(SND_COLLIDE1);
    weed->soundDelay = SEEDWEED_SOUND_DELAY;
}

// A turned fishie stays within its corners' distance of its centre.
bool FishieInView(const Fishie& fishie) {
    double reach = FISHIE_HALF_SIZE * std::sqrt(2.0);
    return TheWorld().InView(fishie.x - reach, fishie.y - reach, fishie.x + reach,
                             fishie.y + reach);
}

// The seed and both strands, which stand on the seed's bottom edge.
bool SeedWeedInView(const SeedWeed& weed) {
    double foot = weed.y - SEEDWEED_DRAW_SIZE;
    return TheWorld().InView(weed.x - SEEDWEED_DRAW_WIDTH, foot - SEEDWEED_DRAW_SIZE,
                             weed.x + SEEDWEED_DRAW_WIDTH, foot + SEEDWEED_DRAW_HEIGHT);
}

}  // namespace

// A fishie inside the submarine's mouth, within reach and within 15 degrees of its heading,
// is swallowed.
void UpdateFishie(Fishie* fishie) {
    WorldView& world = TheWorld();
    Sub& sub = world.Prey();
    fishie->Update(world.StepTime());
    if (fishie->x < sub.x - WORLD_DESPAWN_DISTANCE) {
        fishie->Kill();
    }
    if (!CanSwallowOrStrike(sub)) {
        return;
    }
    double dx = fishie->x - sub.x;
    double dy = fishie->y - sub.y;
    double distance = std::sqrt(dx * dx + dy * dy);
    // The bearing costs an arc tangent, so it is only worked out for a fishie within reach.
    if (distance > SUB_SWALLOW_SIZE || fishie->state != FISHIE_SWIMMING) {
        return;
    }
    double bearing = std::atan2(dy, dx) * DEGREES_PER_HALF_TURN / PI;
    if (std::fabs(bearing - sub.angle) <= SUB_SWALLOW_ANGLE) {
        fishie->velocity = FISHIE_SWALLOW_VELOCITY;
        fishie->state = FISHIE_SWALLOWED;
        fishie->swallowTarget = &sub;
    }
}

// Readiness to sound is decided once per call, so a weed struck by both in one frame can
// sound twice. A weed struck in the simulated past of a restock is knocked, but silently, and
// does not stop the submarine the scene opens on.
void UpdateSeedWeed(SeedWeed* weed) {
    WorldView& world = TheWorld();
    Sub& sub = world.Prey();
    const BigFish& fish = world.Hunter();
    weed->Update(world.StepTime());
    if (weed->x < sub.x - WORLD_DESPAWN_DISTANCE) {
        weed->Kill();
    }
    if (std::fabs(weed->y - sub.y) > WORLD_WEED_DEPTH_RANGE) {
        weed->Kill();
    }
    bool ready = !world.Restocking();
    if (weed->soundDelay > 0.0) {
        ready = false;
        weed->soundDelay -= world.StepTime();
    }
    if (CanSwallowOrStrike(sub) && std::fabs(weed->y - sub.y) < SEEDWEED_SIZE &&
        std::fabs(weed->x - sub.x) < SEEDWEED_SIZE) {
        Knock(weed, sub.y);
        if (world.InGame() && !world.Restocking()) {
            sub.Collision();
        }
        if (sub.state == SUB_SWIMMING && ready && world.EffectsOn()) {
            SoundStrike(world, weed);
        }
    }
    double dx = weed->x - fish.x;
    double dy = weed->y - fish.y;
    if (std::sqrt(dx * dx + dy * dy) <= BIGFISH_SIZE + SEEDWEED_SIZE) {
        Knock(weed, fish.y);
        if (fish.mode != BIGFISH_ESCORT && ready && world.EffectsOn()) {
            SoundStrike(world, weed);
        }
    }
}

void FinishSwallowing(Fishie* fishie) {
    if (fishie->state == FISHIE_SWALLOWED) {
        fishie->Eaten();
    }
}

// Most of the pools' actors are out of view, ahead or behind; they are passed over at once.
void DrawFishie(Fishie* fishie) {
    if (FishieInView(*fishie)) {
        fishie->Draw();
    }
}

void DrawSeedWeedUnder(SeedWeed* weed) {
    if (SeedWeedInView(*weed)) {
        weed->DrawUnder();
    }
}

void DrawSeedWeedOver(SeedWeed* weed) {
    if (SeedWeedInView(*weed)) {
        weed->DrawOver();
    }
}
