// The game's rules over whole scenes: an ocean as full at any frame rate, every game begun
// from nothing, and a new best kept however the player quits.
#include <SDL_mixer.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "engine/global_timer.h"
#include "engine/input_task.h"
#include "engine/settings.h"
#include "game_process.h"
#include "platform/random.h"
#include "sound_world.h"
#include "world_fixture.h"

namespace {

// A headless world driven frame by frame, as a recorded session is replayed.
class GameRules : public SoundWorldTest {
protected:
    Settings settings;
    std::uint8_t keys[SDLK_LAST] = {};

    void SetUp() override {
        SoundWorldTest::SetUp();
        game.SetDefaultSettings(&settings);
        InputTask::pressedKeys = keys;
    }
    void TearDown() override {
        InputTask::pressedKeys = nullptr;
        SoundWorldTest::TearDown();
    }
    // The menu as the program opens it, over the ocean of this seed.
    void FreshMenu(unsigned seed) {
        std::fill(std::begin(keys), std::end(keys), 0);
        WorldTask::fishieSpawnTimer = 0.0;
        WorldTask::seedWeedSpawnTimer = 0.0;
        Sub::myDroneRise = true;
        Sub::my_droneTimer = 0.0;
        tobrin::srand(seed);
        world.my_circleZoom.Reset();
        world.SetupWorld();
    }
    void Frame(double dT) {
        GlobalTimer::deltaTime = dT;
        world.AdvanceWorld();
        world.UpdateScreen();
    }
};

// Two oceans of different seeds differ by up to a fifth in a minute, so six of them are
// averaged: the mean population, sampled every tenth of a second of a minute of menu.
TEST_F(GameRules, OceanIsAsFullAtThirtyAsAtAThousandFramesASecond) {
    const int RATES[] = {30, 60, 250, 1000};
    double fishies[4] = {}, weeds[4] = {};
    for (int r = 0; r < 4; ++r) {
        for (unsigned seed = 1; seed <= 6; ++seed) {
            FreshMenu(seed);
            for (int frame = 1; frame <= RATES[r] * 60; ++frame) {
                Frame(1.0 / RATES[r]);
                if (frame % (RATES[r] / 10) == 0) {
                    fishies[r] += world.my_fishies.Size() / 3600.0;
                    weeds[r] += world.my_seedWeeds.Size() / 3600.0;
                }
            }
        }
    }
    for (double* counts : {fishies, weeds}) {
        auto [low, high] = std::minmax_element(counts, counts + 4);
        EXPECT_GE(*low, 0.85 * *high) << (counts == fishies ? "fishies" : "weeds") << " at 30, 60, "
                                      << "250, 1000 frames a second: " << counts[0] << ", "
                                      << counts[1] << ", " << counts[2] << ", " << counts[3];
    }
}

// The three collect sounds, told from the strike sounds by their samples.
struct CollectSounds {
    Mix_Chunk* chunks[3] = {};
    CollectSounds() {
        for (int i = 0; i < 3; ++i) {
            std::string file = "resources/audio/collect" + std::to_string(i + 1) + ".wav";
            chunks[i] = Mix_LoadWAV(file.c_str());
        }
    }
    ~CollectSounds() {
        for (Mix_Chunk* chunk : chunks) {
            Mix_FreeChunk(chunk);
        }
    }
    bool Playing() const {
        bool playing = false;
        for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel) {
            Mix_Chunk* chunk = Mix_Playing(channel) ? Mix_GetChunk(channel) : nullptr;
            for (Mix_Chunk* collect : chunks) {
                playing |= chunk && collect && chunk->alen == collect->alen &&
                           std::memcmp(chunk->abuf, collect->abuf, chunk->alen) == 0;
            }
        }
        return playing;
    }
};

// Checked in the frame the chase begins: no points, no fishie already on its way to score, and
// no collect sound from the ocean simulated ahead of it.
TEST_F(GameRules, EveryGameStartsAtNoPointsAndWithoutACollectSound) {
    CollectSounds collect;
    int spoiled = 0;
    for (unsigned seed = 1; seed <= 1000; ++seed) {
        FreshMenu(seed);
        Mix_HaltChannel(-1);
        keys[SDLK_RETURN] = 1;
        for (int frame = 0; frame < 100 && world.my_mode == MODE_MENU; ++frame) {
            Frame(1.0 / 60);
        }
        ASSERT_EQ(world.my_mode, MODE_CHASE);
        auto& live = world.my_fishies.liveList;
        bool swallowing = std::any_of(live.begin(), live.end(),
                                      [](Fishie* f) { return f->state == FISHIE_SWALLOWED; });
        spoiled += world.my_score != 0 || swallowing || collect.Playing();
        for (int frame = 0; frame < 10; ++frame) {
            Frame(1.0 / 60);  // the next start finds the submarine as a game leaves it
        }
    }
    EXPECT_EQ(spoiled, 0) << "of 1000 games";
    Fishie eaten;
    eaten.Eaten();
    EXPECT_TRUE(collect.Playing()) << "a fishie eaten in the game is heard";
}

class GameRulesRun : public InTempDir {
protected:
    void SetUp() override {
        if (!HaveDisplay()) {
            GTEST_SKIP() << "needs an X display";
        }
        InTempDir::SetUp();
        CopyResources();
    }
    bool LogHasLineStarting(const std::string& start) {
        std::vector<std::string> lines = LogLines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.rfind(start, 0) == 0; });
    }
};

// Every way out of the real game in the middle of a chase goes through the world's end of the
// game, which says so in the log.
TEST_F(GameRulesRun, EveryQuitDuringAGameEndsTheGame) {
    struct Quit {
        const char* name;
        std::function<void(pid_t, const std::string&)> send;
    };
    const Quit quits[] = {
        {"Escape", [](pid_t, const std::string&) { std::system("xdotool keydown Escape"); }},
        {"close", [](pid_t, const std::string& window) { RequestClose(window); }},
        {"SIGTERM", [](pid_t pid, const std::string&) { kill(pid, SIGTERM); }},
        {"SIGINT", [](pid_t pid, const std::string&) { kill(pid, SIGINT); }},
    };
    for (const Quit& quit : quits) {
        SCOPED_TRACE(quit.name);
        GameProcess run;
        ASSERT_TRUE(run.Start({}, {{"SDL_AUDIODRIVER", "dummy"}}));
        // The window can still be replaced while the video mode is set, so focusing is retried.
        std::string window;
        bool focused = false;
        for (int attempt = 0; attempt < 5 && !focused; ++attempt) {
            window = WaitForWindow("Tobrin and the Fish", 20, run.pid);
            focused = FocusWindow(window);
        }
        ASSERT_TRUE(focused);
        std::system("xdotool keydown Return");
        for (int wait = 0; wait < 200 && !LogHasLineStarting("Game started"); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::system("xdotool keyup Return");
        ASSERT_TRUE(LogHasLineStarting("Game started"));
        quit.send(run.pid, window);
        bool exited = run.WaitForExit(20);
        std::system("xdotool keyup Escape");  // held until the game has seen it, however slow
        ASSERT_TRUE(exited);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_TRUE(LogHasLineStarting("Game quit with ")) << ReadTextFile("log.txt");
    }
}

// A game in progress that beats the best is saved at the quit as its end would save it; what the
// droning submarine eats in the menu is no game.
using GameRulesWorld = WorldFixture;

TEST_F(GameRulesWorld, QuitSavesTheBestOfAGameInProgressButNotOfTheMenu) {
    world.my_highScore = 4;
    StartAGame();
    world.my_score = 5;
    world.Stop();
    EXPECT_EQ(ReadTextFile("tobrin.cfg").substr(0, 13), "HIGH_SCORE=5\n");
    std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Game quit with 5 points");
    EXPECT_EQ(lines.back(), "New high score: 5");

    world.my_mode = MODE_MENU;
    world.my_score = 9;
    world.Stop();
    EXPECT_EQ(ReadTextFile("tobrin.cfg").substr(0, 13), "HIGH_SCORE=5\n");
    EXPECT_EQ(LogLines(), lines);
}

}  // namespace
