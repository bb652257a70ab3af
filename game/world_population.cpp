// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping the ocean populated around the submarine: schools of fishies and seed weeds appear
// ahead of it and go once it has left them behind.
#include "game/game_constants.h"
#include "game/pool_callbacks.h"
#include "game/world_task.h"
#include "platform/random.h"

namespace {

// Schools and weeds appear from 4.5 units below the submarine's depth to 3 above it.
double SpawnDepth(double subY) {
    return (tobrin::frand() * WORLD_SPAWN_DEPTH_SPREAD - WORLD_SPAWN_DEPTH_LIFT) *
               WORLD_SPAWN_DEPTH_SCALE +
           subY;
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
    double tipX = my_sub.x + SPAWN_AHEAD + tobrin::frand() * RANDOMIZER_X_POS;
    double tipY = SpawnDepth(my_sub.y);
    if (tipY < FISHIE_SPAWN_MAX_Y) {
        PlaceSchool(count, tipX, tipY);
    }
}

// A triangle pointing right: column k has k + 1 fishies 0.1 behind the one before, centred on
// the tip's depth, filled top first.
void WorldTask::PlaceSchool(int count, double tipX, double tipY) {
    int placed = 0;
    for (int column = 0; column < FISHIE_SCHOOL_COLUMNS && placed < count; ++column) {
        for (int row = column; row >= 0 && placed < count; --row) {
            Fishie* fishie = my_fishies.New();
            if (!fishie) {
                return;  // out of memory: the pool has said so
            }
            fishie->x = tipX - FISHIE_SCHOOL_SPACING * column;
            fishie->y = tipY - FISHIE_SCHOOL_COLUMN_DROP * column + FISHIE_SCHOOL_SPACING * row;
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
    if (!(tobrin::frand() < SEEDWEED_RANDOM_CHANCE)) {
        return;
    }
    double x = my_sub.x + SPAWN_AHEAD + tobrin::frand() * RANDOMIZER_X_POS;
    double y = SpawnDepth(my_sub.y);
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
