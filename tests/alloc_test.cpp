// Frames must allocate nothing once the pools have grown: every allocation of this process
// is counted.

// GCC sees the replaced operators below defined in this file and then takes each matching
// pair of new and delete, also in the headers inlined here, for a mismatch; the pairs are
// right.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "engine/global_timer.h"
#include "engine/input_task.h"
#include "engine/kernel.h"
#include "engine/pool.h"
#include "game/game_constants.h"
#include "game/info_text_task.h"
#include "game/test_task.h"
#include "test_support.h"
#include "world_fixture.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

class Fish final : public PoolElement {
public:
    double x = 0.0;
    void Reset() override { x = 0.0; }
};

class Idle final : public Task {
public:
    bool Start() override { return true; }
    void Stop() override {}
    void Update() override {}
};

TEST(AllocationTest, KernelFramesAllocateNothing) {
    Kernel kernel;
    std::uint8_t keys[SDLK_LAST] = {};
    InputTask::pressedKeys = keys;
    GlobalTimer timer;
    InfoTextTask info;
    TestTask test;
    Idle idle;
    timer.priority = 10;
    info.priority = 9000;
    test.priority = 9999;
    kernel.AddTask(&timer);
    kernel.AddTask(&info);
    kernel.AddTask(&test);
    kernel.AddTask(&idle);
    kernel.RunFrame();

    long before = allocations;
    for (int frame = 0; frame < 1000; ++frame) {
        keys[SDLK_F2] = frame % 7 == 0;  // the key edges too
        kernel.RunFrame();
        kernel.SuspendTask(&idle);
        kernel.ResumeTask(&idle);
    }
    EXPECT_EQ(allocations - before, 0);
    InputTask::pressedKeys = nullptr;
}

TEST(AllocationTest, GrownPoolHandsOutKillsAndPrunesWithoutAllocating) {
    Pool<Fish> pool(64);
    pool.New();  // grows the first chunk
    long before = allocations;
    for (int round = 0; round < 100; ++round) {
        while (pool.Size() < 60) {
            pool.New();
        }
        pool.Iterate([](Fish* fish) {
            fish->x += 1.0;
            if (static_cast<long>(fish->x) % 3 == 0) {
                fish->Kill();
            }
        });
        pool.Prune();
    }
    pool.PruneAll();
    EXPECT_EQ(allocations - before, 0);
}

// Many frames of the menu and of a chase, once the pools have grown to their limits.
class WorldFrameAllocationTest : public WorldFixture {};

TEST_F(WorldFrameAllocationTest, MenuAndChaseFramesAllocateNothing) {
    for (int i = 0; i < FISHIE_MIN_POPULATION + 1024; ++i) {
        world.my_fishies.New();
    }
    for (int i = 0; i < SEEDWEED_MIN_POPULATION + 1024; ++i) {
        world.my_seedWeeds.New();
    }
    world.RestockWorld();
    Frames(200, 0.01);

    long before = allocations;
    Frames(1000, 0.01);
    EXPECT_EQ(allocations - before, 0) << "menu frames";

    StartAGame();
    Frames(100, 0.01);
    before = allocations;
    for (int frame = 0; frame < 1000; ++frame) {
        world.my_bigFish.x = world.my_sub.x - 50.0;  // kept far behind: no chomp here
        keys[SDLK_SPACE] = frame % 40 < 20;          // climbing and diving, with boosts
        keys[SDLK_PAUSE] = frame == 500 || frame == 600;
        Frame(0.01);
    }
    EXPECT_EQ(allocations - before, 0) << "chase frames";
    EXPECT_GT(world.my_score, 0) << "the chase really ate fishies";
}

TEST(AllocationTest, CountingReallySeesAllocations) {
    long before = allocations;
    Pool<Fish> pool(16);
    pool.New();
    EXPECT_GE(allocations - before, 16);
}

}  // namespace
