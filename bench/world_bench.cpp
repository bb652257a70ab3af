// SPDX-License-Identifier: GPL-3.0-or-later
// The world's costs: its start-up, the actors' and the simulation's steps at the populations
// the game reaches, and drawn frames of menu and chase against an empty frame. The benchmarks
// that draw need a display (run under xvfb-run); sound goes to SDL's dummy driver.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdlib>
#include <filesystem>

#include "engine/global_timer.h"
#include "engine/input_task.h"
#include "engine/kernel.h"
#include "engine/settings.h"
#include "engine/video_update.h"
#include "game/game.h"
#include "game/game_constants.h"
#include "game/world_task.h"
#include "platform/random.h"

namespace {

bool HaveDisplay(benchmark::State& state) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        state.SkipWithError("needs a display: run under xvfb-run");
        return false;
    }
    return true;
}

// A world with no window and no sound: enough to simulate.
struct BareWorld {
    Game game;
    WorldTask world;
    BareWorld() {
        game.worldTask = &world;
        world.my_playSounds = false;
        world.my_mode = MODE_CHASE;
        world.my_sub.y = -5.0;
        world.my_bigFish.mode = BIGFISH_CHASE;
        world.my_bigFish.x = -10.0;
        world.my_bigFish.y = -5.0;
        world.my_camera.targetX = &world.my_sub.x;
        world.my_camera.targetY = &world.my_sub.y;
        tobrin::srand(1);
    }
    // Fills the pools around the submarine, spread over the strip the game keeps populated.
    void Populate(int fishies, int weeds) {
        for (int i = 0; i < fishies; ++i) {
            Fishie* fishie = world.my_fishies.New();
            fishie->x = world.my_sub.x - 3.0 + 7.5 * tobrin::rand() / tobrin::RAND_MAX15;
            fishie->y = -1.0 - 6.0 * tobrin::rand() / 32767.0;
        }
        for (int i = 0; i < weeds; ++i) {
            SeedWeed* weed = world.my_seedWeeds.New();
            weed->x = world.my_sub.x - 3.0 + 7.5 * tobrin::rand() / tobrin::RAND_MAX15;
            weed->y = -0.5 - 6.0 * tobrin::rand() / 32767.0;
            weed->strandUnder = 1;
        }
    }
};

// The actors' own steps at the pools' population limits.
void BM_ActorsUpdateAtFullPopulation(benchmark::State& state) {
    BareWorld bare;
    bare.Populate(FISHIE_MIN_POPULATION, SEEDWEED_MIN_POPULATION);
    for (auto _ : state) {
        bare.world.my_fishies.Iterate([](Fishie* fishie) { fishie->Update(0.016); });
        bare.world.my_seedWeeds.Iterate([](SeedWeed* weed) { weed->Update(0.016); });
    }
    state.SetItemsProcessed(state.iterations() * (FISHIE_MIN_POPULATION + SEEDWEED_MIN_POPULATION));
}
BENCHMARK(BM_ActorsUpdateAtFullPopulation)->Unit(benchmark::kMicrosecond);

// The whole simulation step of a chase frame, without drawing. Arg 0: the population the game
// keeps by itself as the submarine swims on (typical); arg 1: the pools held at their limits.
void BM_WorldSimulate(benchmark::State& state) {
    BareWorld bare;
    WorldTask& world = bare.world;
    world.RestockWorld();
    const bool full = state.range(0) == 1;
    long fishies = 0, weeds = 0;
    for (auto _ : state) {
        if (full && (world.my_fishies.Size() < FISHIE_MIN_POPULATION * 9 / 10 ||
                     world.my_seedWeeds.Size() < SEEDWEED_MIN_POPULATION * 9 / 10)) {
            state.PauseTiming();
            bare.Populate(FISHIE_MIN_POPULATION - world.my_fishies.Size(),
                          SEEDWEED_MIN_POPULATION - world.my_seedWeeds.Size());
            state.ResumeTiming();
        }
        world.my_frameTime = 0.016;
        world.Simulate(0.016);
        fishies += world.my_fishies.Size();
        weeds += world.my_seedWeeds.Size();
    }
    state.counters["fishies"] = static_cast<double>(fishies) / state.iterations();
    state.counters["weeds"] = static_cast<double>(weeds) / state.iterations();
}
BENCHMARK(BM_WorldSimulate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A started world in a real window, in the folder holding resources/.
struct WindowedWorld {
    std::filesystem::path previous = std::filesystem::current_path();
    Game game;
    Kernel* kernel = nullptr;
    Settings* settings = nullptr;
    VideoUpdate video;
    WorldTask world;
    Uint8 keys[SDLK_LAST] = {};
    bool ready = false;

    WindowedWorld() {
        std::filesystem::current_path(TOBRIN_SOURCE_DIR);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        kernel = new Kernel;
        settings = new Settings;
        game.SetDefaultSettings(settings);
        game.worldTask = &world;
        InputTask::pressedKeys = keys;
        // The same ocean in every run, whatever ran before: the drawn frames of two builds
        // then compare like for like.
        tobrin::srand(1);
        ready = video.Start() && game.InitSound();
        world.my_soundSystem = game.soundSystem;
        ready = ready && world.Start();
    }
    ~WindowedWorld() {
        if (ready) {
            world.Stop();
        }
        InputTask::pressedKeys = nullptr;
        game.ReleaseSound();
        video.Stop();
        delete settings;
        delete kernel;
        std::filesystem::current_path(previous);
    }
    void Frame() {
        GlobalTimer::deltaTime = 0.016;
        world.Update();
        video.Update();
    }
};

// False, with the benchmark skipped, when there is no display or the world did not start.
bool Ready(benchmark::State& state, const WindowedWorld& windowed) {
    if (!windowed.ready) {
        state.SkipWithError("the world did not start");
    }
    return windowed.ready;
}

void BM_WorldTaskStartAndStop(benchmark::State& state) {
    if (!HaveDisplay(state)) {
        return;
    }
    WindowedWorld windowed;
    if (!Ready(state, windowed)) {
        return;
    }
    windowed.world.Stop();
    for (auto _ : state) {
        if (!windowed.world.Start()) {
            state.SkipWithError("the world did not start");
            break;
        }
        windowed.world.Stop();
    }
    windowed.ready = windowed.world.Start();
}
BENCHMARK(BM_WorldTaskStartAndStop)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Drawn frames, swapped as the game does. Arg 0: an empty frame, clear and swap only;
// 1: the menu; 2: a chase. Compare the three times of one run for the drawing's cost.
void BM_DrawnFrame(benchmark::State& state) {
    if (!HaveDisplay(state)) {
        return;
    }
    WindowedWorld windowed;
    if (!Ready(state, windowed)) {
        return;
    }
    if (state.range(0) == 2) {
        windowed.keys[SDLK_RETURN] = 1;
        for (int i = 0; i < 200 && windowed.world.my_mode != MODE_CHASE; ++i) {
            windowed.Frame();
        }
        windowed.keys[SDLK_RETURN] = 0;
    }
    for (auto _ : state) {
        if (state.range(0) == 0) {
            glClear(GL_COLOR_BUFFER_BIT);
            windowed.video.Update();
        } else {
            windowed.world.my_bigFish.x = windowed.world.my_sub.x - 3.0;  // no chomp here
            windowed.Frame();
        }
    }
    glFinish();
}
BENCHMARK(BM_DrawnFrame)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(2.0)
    ->UseRealTime();

}  // namespace
