// SPDX-License-Identifier: GPL-3.0-or-later
#include "world_fixture.h"

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
    for (int frame = 0; frame < 1000 && world.my_mode != MODE_CHASE; ++frame) {
        Frame(0.01);
    }
    keys[SDLK_RETURN] = 0;
}
