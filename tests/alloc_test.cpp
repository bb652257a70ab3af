// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "game/game_constants.h"
#include "game/info_text_task.h"
#include "game/test_task.h"
#include "world_fixture.h"

namespace {
std::atomic<long> allocations{0};
}

// Every form of new and delete is replaced, so that AddressSanitizer sees them all paired.
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

// Many frames of the menu and of a chase, and of the kernel with the diagnostic tasks, once the
// pools have grown to their limits.
class AllocationTest : public WorldFixture {};

TEST_F(AllocationTest, MenuChaseAndKernelFramesAllocateNothing) {
    long before = allocations;
    Pool<Fishie>(16).New();
    EXPECT_GE(allocations - before, 16) << "the counting sees a pool grow";
    for (int i = 0; i < FISHIE_MIN_POPULATION + 1024; ++i) {
        world.my_fishies.New();
    }
    for (int i = 0; i < SEEDWEED_MIN_POPULATION + 1024; ++i) {
        world.my_seedWeeds.New();
    }
    world.RestockWorld();
    Frames(200, 0.01);
    before = allocations;
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

    GlobalTimer timer;
    InfoTextTask info;
    TestTask test;
    test.world = &world;
    for (Task* task : std::initializer_list<Task*>{&timer, &info, &test}) {
        kernel.AddTask(task);
    }
    kernel.RunFrame();
    before = allocations;
    for (int frame = 0; frame < 1000; ++frame) {
        keys[SDLK_F2] = frame % 7 == 0;  // the key edges too
        kernel.RunFrame();
        kernel.SuspendTask(&info);
        kernel.ResumeTask(&info);
    }
    EXPECT_EQ(allocations - before, 0) << "kernel frames";
    kernel.KillAllTasks();
    kernel.RunFrame();
}

}  // namespace
