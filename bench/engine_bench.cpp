// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of the engine's per-frame work: a kernel frame, pool churn, a camera step, settings.
#include <benchmark/benchmark.h>

#include "engine/kernel.h"
#include "engine/pool.h"
#include "engine/settings.h"
#include "game/camera.h"

namespace {

class Idle final : public Task {
public:
    long updates = 0;
    bool Start() override { return true; }
    void Stop() override {}
    void Update() override { ++updates; }
};

// The game's frame runs six tasks.
void BM_KernelFrameOfSixTasks(benchmark::State& state) {
    Kernel kernel;
    Idle tasks[6];
    int priorities[6] = {10, 20, 1000, 9000, 9999, 10000};
    for (int i = 0; i < 6; ++i) {
        tasks[i].priority = priorities[i];
        kernel.AddTask(&tasks[i]);
    }
    for (auto _ : state) {
        kernel.RunFrame();
    }
    benchmark::DoNotOptimize(tasks[0].updates);
}
BENCHMARK(BM_KernelFrameOfSixTasks);

class Fish final : public PoolElement {
public:
    double x = 0.0;
    void Reset() override { x = 0.0; }
};

// One frame of a school: spawn up to the working size, walk, kill a third, prune.
void BM_PoolFrame(benchmark::State& state) {
    const int live = static_cast<int>(state.range(0));
    Pool<Fish> pool(POOL_DEFAULT_SIZE);
    for (auto _ : state) {
        while (pool.Size() < live) {
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
    state.SetItemsProcessed(state.iterations() * live);
}
BENCHMARK(BM_PoolFrame)->Arg(64)->Arg(1024);

void BM_CameraUpdate(benchmark::State& state) {
    Camera camera;
    double followedX = 10.0, followedY = -2.0;
    camera.targetX = &followedX;
    camera.targetY = &followedY;
    for (auto _ : state) {
        followedX += 0.001;
        camera.Update(0.016);
        benchmark::DoNotOptimize(camera.x);
    }
}
BENCHMARK(BM_CameraUpdate);

}  // namespace
