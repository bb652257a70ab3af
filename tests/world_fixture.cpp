#include "world_fixture.h"

#include <cmath>
#include <cstdlib>

#include "engine/global_timer.h"
#include "engine/input_task.h"
#include "game/game_constants.h"
#include "game_process.h"
#include "platform/random.h"

void WorldFixture::SetUp() {
    if (!HaveDisplay()) {
        GTEST_SKIP() << "needs an X display: run it through tools/test.sh, which uses xvfb-run "
                        "(Debian package xvfb)";
    }
    InTempDir::SetUp();
    CopyResources();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    kernel = new Kernel;
    settings = new Settings;
    game.SetDefaultSettings(settings);
    VideoUpdate::screenWidth = 320;
    VideoUpdate::screenHeight = 240;
    ASSERT_TRUE(video.Start());
    ASSERT_TRUE(game.InitSound());
    game.worldTask = &world;
    InputTask::pressedKeys = keys;
    WorldTask::music = WorldTask::MusicState();
    WorldTask::my_playSounds = true;
    WorldTask::subGoingUp = false;
    WorldTask::my_pausedPress = false;
    WorldTask::direction = 1;
    tobrin::srand(2026);  // the same ocean whatever ran before
    ASSERT_TRUE(world.Start());
    started = true;
}

void WorldFixture::TearDown() {
    if (!kernel) {
        return;
    }
    if (started) {
        world.Stop();
    }
    InputTask::pressedKeys = nullptr;
    game.ReleaseSound();
    video.Stop();
    delete settings;
    delete kernel;
    unsetenv("SDL_AUDIODRIVER");
    InTempDir::TearDown();
}

void WorldFixture::Frame(double dT) {
    GlobalTimer::deltaTime = dT;
    world.Update();
}

void WorldFixture::Frames(int count, double dT) {
    for (int i = 0; i < count; ++i) {
        Frame(dT);
    }
}

void WorldFixture::StartAGame() {
    keys[SDLK_RETURN] = 1;
    FramesUntil(0.01, 1000, [&] { return world.my_mode == MODE_CHASE; });
    keys[SDLK_RETURN] = 0;
}

void WorldFixture::FishMouthOnSub() {
    BigFish& fish = world.my_bigFish;
    double reach = BIGFISH_MOUTH_REACH * static_cast<double>(BIGFISH_SIZE);
    double mouth = (fish.angle - BIGFISH_MOUTH_ANGLE) * BIGFISH_DEGREES_TO_RADIANS;
    fish.x = world.my_sub.x - std::cos(mouth) * reach;
    fish.y = world.my_sub.y - std::sin(mouth) * reach;
}
