// The frame timer, the frame-rate report and the program-wide keys.
#include <SDL.h>

#include <csignal>
#include <cstdint>
#include <vector>

#include "engine/global_timer.h"
#include "engine/input_task.h"
#include "engine/kernel.h"
#include "game/game.h"
#include "game/info_text_task.h"
#include "game/test_task.h"
#include "game/world_task.h"
#include "platform/quit_signal.h"
#include "test_support.h"

namespace {

std::uint32_t fakeTicks = 0;
std::uint32_t FakeTicks() {
    return fakeTicks;
}

class TimerTest : public ::testing::Test {
protected:
    GlobalTimer timer;
    void SetUp() override { GlobalTimer::tickSource = FakeTicks; }
    void TearDown() override {
        GlobalTimer::tickSource = [] { return std::uint32_t(SDL_GetTicks()); };
    }
};

TEST_F(TimerTest, MeasuresTheFrameInSecondsSinceStart) {
    fakeTicks = 1000;
    timer.Start();
    EXPECT_EQ(GlobalTimer::deltaTime, 0.0);
    fakeTicks = 1250;  // the first frame includes everything started after the timer
    timer.Update();
    EXPECT_EQ(GlobalTimer::deltaIndex, 250u);
    EXPECT_DOUBLE_EQ(GlobalTimer::deltaTime, 0.25);
    EXPECT_EQ(GlobalTimer::lastFrameIndex, 1000u);
    EXPECT_EQ(GlobalTimer::thisFrameIndex, 1250u);
}

TEST_F(TimerTest, SameMillisecondGivesZero) {
    fakeTicks = 5;
    timer.Start();
    timer.Update();
    timer.Update();
    EXPECT_EQ(GlobalTimer::deltaIndex, 0u);
    EXPECT_EQ(GlobalTimer::deltaTime, 0.0);
}

TEST_F(TimerTest, CounterWrapStillGivesTheTrueDifference) {
    fakeTicks = 4294967290u;
    timer.Start();
    fakeTicks = 10;
    timer.Update();
    EXPECT_EQ(GlobalTimer::deltaIndex, 16u);
    EXPECT_DOUBLE_EQ(GlobalTimer::deltaTime, 0.016);
}

class InfoTextTest : public InTempDir {
protected:
    // The frame-rate lines of the log, after the one line about the first frame.
    std::vector<std::string> RateLines() {
        std::vector<std::string> lines = LogLines();
        EXPECT_FALSE(lines.empty());
        if (!lines.empty()) {
            EXPECT_EQ(lines[0].rfind("First frame after ", 0), 0u);
            lines.erase(lines.begin());
        }
        return lines;
    }
};

TEST_F(InfoTextTest, ReportsOncePerIntervalAndDropsTheRemainder) {
    InfoTextTask info;
    info.Start();
    GlobalTimer::thisFrameIndex = 1234;
    GlobalTimer::deltaTime = 1.0 / 60.0;
    for (int frame = 0; frame < 299; ++frame) {
        info.Update();
    }
    EXPECT_EQ(LogLines(), std::vector<std::string>{"First frame after 1234 ms"});
    GlobalTimer::deltaTime = 1.0;  // a long frame crosses the interval well past its end
    info.Update();
    ASSERT_EQ(RateLines().size(), 1u);
    EXPECT_NEAR(info.framesPerSecond, 300 / (299 / 60.0 + 1.0), 1e-9);
    EXPECT_EQ(RateLines()[0].rfind("Log info: FPS: ", 0), 0u);
    EXPECT_EQ(info.frameCount, 0);
    EXPECT_EQ(info.elapsedTime, 0.0);
}

TEST_F(InfoTextTest, SteadySixtyFramesASecondLogsAboutSixty) {
    InfoTextTask info;
    info.Start();
    GlobalTimer::deltaTime = 1.0 / 60.0;
    for (int frame = 0; frame < 60 * 11; ++frame) {
        info.Update();
    }
    std::vector<std::string> lines = RateLines();
    ASSERT_EQ(lines.size(), 2u);
    double fps = std::stod(lines[0].substr(std::string("Log info: FPS: ").size()));
    EXPECT_NEAR(fps, 60.0, 0.5);
}

TEST(KeyToggleTest, ReportsOncePerPress) {
    KeyToggle toggle;
    std::vector<bool> reported;
    for (bool held : {false, true, true, true, false, true, false, false, true}) {
        reported.push_back(toggle.Pressed(held));
    }
    EXPECT_EQ(reported,
              (std::vector<bool>{false, true, false, false, false, true, false, false, true}));
}

// Drives the test task with a key table of its own in place of the input snapshot.
class TestTaskTest : public InTempDir {
protected:
    Kernel* kernel = nullptr;
    Game game;
    WorldTask world;  // not started: no sound is loaded, the music channel stays empty
    TestTask task;
    std::uint8_t keys[SDLK_LAST] = {};
    void SetUp() override {
        InTempDir::SetUp();
        kernel = new Kernel;
        game.worldTask = &world;
        WorldTask::music = WorldTask::MusicState();
        InputTask::pressedKeys = keys;
        ClearQuitSignal();
        WorldTask::my_playSounds = true;
        WorldTask::my_playMusic = true;
        kernel->AddTask(&task);
    }
    void TearDown() override {
        InputTask::pressedKeys = nullptr;
        ClearQuitSignal();
        delete kernel;
        InTempDir::TearDown();
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            kernel->RunFrame();
        }
    }
};

TEST_F(TestTaskTest, HoldingF2TogglesEffectsOnceAndPressingAgainTogglesBack) {
    keys[SDLK_F2] = 1;
    Frames(30);
    EXPECT_FALSE(WorldTask::my_playSounds);
    EXPECT_TRUE(WorldTask::my_playMusic);
    keys[SDLK_F2] = 0;
    Frames(1);
    keys[SDLK_F2] = 1;
    Frames(3);
    EXPECT_TRUE(WorldTask::my_playSounds);
}

TEST_F(TestTaskTest, F2AndF3TogetherToggleBoth) {
    keys[SDLK_F2] = 1;
    keys[SDLK_F3] = 1;
    Frames(2);
    EXPECT_FALSE(WorldTask::my_playSounds);
    EXPECT_FALSE(WorldTask::my_playMusic);
    EXPECT_TRUE(WorldTask::music.isPaused) << "switching music off pauses its channel";
    keys[SDLK_F3] = 0;
    Frames(1);
    keys[SDLK_F3] = 1;
    Frames(1);
    EXPECT_TRUE(WorldTask::my_playMusic);
    EXPECT_FALSE(WorldTask::music.isPaused);
    EXPECT_FALSE(task.killFlag);
}

TEST_F(TestTaskTest, EscapeEndsTheLoop) {
    keys[SDLK_ESCAPE] = 1;
    EXPECT_EQ(kernel->Execute(), 0);
    EXPECT_TRUE(kernel->runningTasks.empty());
}

TEST_F(TestTaskTest, CloseRequestAndEscapeInOneFrameEndItOnce) {
    SDL_Event quit;
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    keys[SDLK_ESCAPE] = 1;
    kernel->RunFrame();
    EXPECT_TRUE(kernel->runningTasks.empty());
}

TEST_F(TestTaskTest, CloseRequestAloneEndsTheLoop) {
    SDL_Event quit;
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    EXPECT_EQ(kernel->Execute(), 0);
}

TEST_F(TestTaskTest, TerminationSignalEndsTheLoop) {
    InstallQuitSignals();
    std::raise(SIGTERM);
    EXPECT_EQ(kernel->Execute(), 0);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}

TEST_F(TestTaskTest, OtherKeysChangeNothing) {
    keys[SDLK_SPACE] = 1;
    keys[SDLK_RETURN] = 1;
    Frames(5);
    EXPECT_TRUE(WorldTask::my_playSounds);
    EXPECT_TRUE(WorldTask::my_playMusic);
    EXPECT_FALSE(task.killFlag);
}

}  // namespace
