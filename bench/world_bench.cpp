// The world task's start-up: all 48 pictures become textures and all 10 sounds are loaded.
// Needs a display (run under xvfb-run); sound goes to SDL's dummy driver.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "engine/kernel.h"
#include "engine/log.h"
#include "engine/video_update.h"
#include "game/game.h"
#include "game/world_task.h"

namespace {

void BM_WorldTaskStartAndStop(benchmark::State& state) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        state.SkipWithError("needs a display: run under xvfb-run");
        return;
    }
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(TOBRIN_SOURCE_DIR);  // where resources/ is
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Game game;
    Kernel* kernel = new Kernel;
    VideoUpdate video;
    WorldTask world;
    game.worldTask = &world;
    if (!video.Start() || !game.InitSound()) {
        state.SkipWithError("no window or no sound system");
    } else {
        for (auto _ : state) {
            if (!world.Start()) {
                state.SkipWithError("the world did not start");
                break;
            }
            world.Stop();
        }
    }
    game.ReleaseSound();
    video.Stop();
    delete kernel;
    std::filesystem::current_path(previous);
}
BENCHMARK(BM_WorldTaskStartAndStop)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
