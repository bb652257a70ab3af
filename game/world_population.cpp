// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping the ocean populated around the submarine: schools of fishies and seed weeds appear
// ahead of it and go once it has left them behind; the submarine swallows fishies and the
// submarine and the big fish knock weeds aside.
#include <cmath>

#include "engine/singleton.h"
#include "game/game.h"
#include "game/game_constants.h"
#include "game/world_task.h"
#include "platform/random.h"

namespace {

// One fresh random number scaled into [0, 1].
double Unit() {
    return tobrin::rand() / 32767.0;
}

WorldTask* World() {
    return Singleton<Game>::GetPointer()->worldTask;
}

bool CanSwallowOrStrike(const Sub& sub) {
    return sub.state == SUB_SWIMMING || sub.state == SUB_DRONING;
}

// Sends a struck weed off rightwards, downwards when the striker is above it.
void Knock(SeedWeed* weed, double strikerY) {
    double angle = Unit() * SEEDWEED_STRIKE_ANGLE;
    if (strikerY > weed->y) {
        angle = -angle;
    }
    weed->angle = angle;
    weed->velocity = SEEDWEED_COLLISION_VELOCITY;
}

void SoundStrike(WorldTask* world, SeedWeed* weed) {
    world->PlaySoundVariant(SND_COLLIDE1);
    weed->soundDelay = SEEDWEED_SOUND_DELAY;
}

void FinishSwallowing(Fishie* fishie) {
    if (fishie->state == FISHIE_SWALLOWED) {
        fishie->Eaten();
    }
}

}  // namespace

void WorldTask::SpawnFishie(double seconds) {
    fishieSpawnTimer += seconds;
    while (fishieSpawnTimer >= FISHIE_SPAWN_TIMER) {
        fishieSpawnTimer -= FISHIE_SPAWN_TIMER;
        SpawnSchool();
    }
}

// The pool's limit is tested once a school, so it may hold a few more than the limit.
void WorldTask::SpawnSchool() {
    if (my_fishies.Size() >= FISHIE_MIN_POPULATION) {
        return;
    }
    int count = tobrin::rand() % (FISHIE_MAX_SCHOOL + 1);
    double tipX = my_sub.x + SPAWN_AHEAD + Unit() * RANDOMIZER_X_POS;
    double tipY = (Unit() * 5.0 - 3.0) * 1.5 + my_sub.y;
    if (tipY < FISHIE_SPAWN_MAX_Y) {
        PlaceSchool(count, tipX, tipY);
    }
}

// A triangle pointing right: column k has k + 1 fishies 0.1 behind the one before, centred on
// the tip's depth, filled top first.
void WorldTask::PlaceSchool(int count, double tipX, double tipY) {
    int placed = 0;
    for (int column = 0; column < 4 && placed < count; ++column) {
        for (int row = column; row >= 0 && placed < count; --row) {
            Fishie* fishie = my_fishies.New();
            if (!fishie) {
                return;  // out of memory: the pool has said so
            }
            fishie->x = tipX - 0.1 * column;
            fishie->y = tipY - 0.05 * column + 0.1 * row;
            ++placed;
        }
    }
}

void WorldTask::SpawnSeedWeed(double seconds) {
    seedWeedSpawnTimer += seconds;
    while (seedWeedSpawnTimer >= SEEDWEED_SPAWN_TIMER) {
        seedWeedSpawnTimer -= SEEDWEED_SPAWN_TIMER;
        SpawnOneSeedWeed();
    }
}

// Its two strands are always different pictures.
void WorldTask::SpawnOneSeedWeed() {
    if (my_seedWeeds.Size() >= SEEDWEED_MIN_POPULATION) {
        return;
    }
    if (!(Unit() < SEEDWEED_RANDOM_CHANCE)) {
        return;
    }
    double x = my_sub.x + SPAWN_AHEAD + Unit() * RANDOMIZER_X_POS;
    double y = (Unit() * 5.0 - 3.0) * 1.5 + my_sub.y;
    if (!(y < SEEDWEED_SPAWN_MAX_Y)) {
        return;
    }
    SeedWeed* weed = my_seedWeeds.New();
    if (!weed) {
        return;
    }
    int over = tobrin::rand() % SEEDWEED_STRAND_TYPES;
    int under;
    do {
        under = tobrin::rand() % SEEDWEED_STRAND_TYPES;
    } while (under == over);
    weed->x = x;
    weed->y = y;
    weed->strandOver = over;
    weed->strandUnder = under;
}

// Simulates the stretch of ocean the submarine has just come through, half a second at a
// time, so that a new scene never starts empty.
void WorldTask::RestockWorld() {
    my_restocking = true;
    my_seedWeeds.PruneAll();
    my_fishies.PruneAll();
    double startX = my_sub.x;
    my_sub.x -= WORLD_RESTOCK_DISTANCE;
    while (my_sub.x < startX) {
        my_frameTime = WORLD_RESTOCK_STEP;
        SpawnFishie(WORLD_RESTOCK_STEP);
        my_fishies.Iterate(UpdateFishie);
        my_fishies.Prune();
        SpawnSeedWeed(WORLD_RESTOCK_STEP);
        my_seedWeeds.Iterate(UpdateSeedWeed);
        my_seedWeeds.Prune();
        my_sub.x += WORLD_RESTOCK_STEP;
    }
    my_sub.x = startX;
    // What the submarine took in during the simulated past is gone before the scene opens, so
    // a new game never begins with a fishie already on its way to count.
    my_fishies.Iterate(FinishSwallowing);
    my_fishies.Prune();
    my_restocking = false;
}

// A fishie inside the submarine's mouth, within reach and within 15 degrees of its heading,
// is swallowed.
void UpdateFishie(Fishie* fishie) {
    WorldTask* world = World();
    const Sub& sub = world->my_sub;
    fishie->Update(world->my_frameTime);
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
    double bearing = std::atan2(dy, dx) * 180 / PI;
    if (std::fabs(bearing - sub.angle) <= SUB_SWALLOW_ANGLE) {
        fishie->velocity = FISHIE_SWALLOW_VELOCITY;
        fishie->state = FISHIE_SWALLOWED;
        fishie->swallowTarget = &world->my_sub;
    }
}

// Readiness to sound is decided once per call, so a weed struck by both in one frame can
// sound twice.
void UpdateSeedWeed(SeedWeed* weed) {
    WorldTask* world = World();
    Sub& sub = world->my_sub;
    const BigFish& fish = world->my_bigFish;
    weed->Update(world->my_frameTime);
    if (weed->x < sub.x - WORLD_DESPAWN_DISTANCE) {
        weed->Kill();
    }
    if (std::fabs(weed->y - sub.y) > WORLD_WEED_DEPTH_RANGE) {
        weed->Kill();
    }
    bool ready = true;
    if (weed->soundDelay > 0.0) {
        ready = false;
        weed->soundDelay -= world->my_frameTime;
    }
    if (CanSwallowOrStrike(sub) && std::fabs(weed->y - sub.y) < SEEDWEED_SIZE &&
        std::fabs(weed->x - sub.x) < SEEDWEED_SIZE) {
        Knock(weed, sub.y);
        if (world->my_mode != MODE_MENU) {
            sub.Collision();
        }
        if (sub.state == SUB_SWIMMING && ready && WorldTask::my_playSounds) {
            SoundStrike(world, weed);
        }
    }
    double dx = weed->x - fish.x;
    double dy = weed->y - fish.y;
    if (std::sqrt(dx * dx + dy * dy) <= BIGFISH_SIZE + SEEDWEED_SIZE) {
        Knock(weed, fish.y);
        if (fish.mode != BIGFISH_ESCORT && ready && WorldTask::my_playSounds) {
            SoundStrike(world, weed);
        }
    }
}
