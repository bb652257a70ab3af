// SPDX-License-Identifier: GPL-3.0-or-later
// What recording costs a frame of play, what checking a recording costs before it is shown, and
// writing and reading an hour's recording.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "game/game.h"
#include "game/game_constants.h"
#include "game/replay.h"
#include "game/world_task.h"

namespace {

// A frame of a game: its step and controls kept, the recording's room taken once beforehand.
void BM_RecordFrame(benchmark::State& state) {
    Game game;
    WorldTask world;
    game.worldTask = &world;
    world.my_recording.Begin(ReplayStart{});
    int frame = 0;
    for (auto _ : state) {
        world.my_controls.climb = (++frame & 32) != 0;
        world.RecordFrame(frame % 3 == 0 ? 0.016 : 0.017);
        if (world.my_recording.full) {
            state.PauseTiming();
            world.my_recording.Begin(ReplayStart{});
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_RecordFrame);

// The desktop's recording of the replay test, played through unseen as before it is shown;
// per recorded frame.
void BM_CheckRecording(benchmark::State& state) {
    std::ifstream file(std::string(TOBRIN_SOURCE_DIR) + "/tests/replay/desktop_best.replay",
                       std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    Replay replay;
    std::string problem;
    if (!Replay::Decode(bytes.str(), replay, problem)) {
        state.SkipWithError(problem.c_str());
        return;
    }
    Game game;
    WorldTask world;
    game.worldTask = &world;
    world.my_playSounds = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(world.CheckRecording(replay));
    }
    state.SetItemsProcessed(state.iterations() * replay.frames);
}
BENCHMARK(BM_CheckRecording)->Unit(benchmark::kMillisecond);

// The largest recording kept, an hour at 300 frames a second, written out and read back.
void BM_EncodeAndDecodeAnHour(benchmark::State& state) {
    Replay hour;
    hour.Begin(ReplayStart{});
    for (int frame = 0; hour.Add(3 + frame % 2, frame & 1); ++frame) {
    }
    Replay read;
    std::string problem;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Replay::Decode(hour.Encode(), read, problem));
    }
    state.counters["bytes"] = static_cast<double>(hour.Encode().size());
}
BENCHMARK(BM_EncodeAndDecodeAnHour)->Unit(benchmark::kMillisecond);

}  // namespace
