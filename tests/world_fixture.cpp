// SPDX-License-Identifier: GPL-3.0-or-later
#include "world_fixture.h"

#include <cstdlib>

#include "engine/input_task.h"
#include "game/game_constants.h"
#include "game_process.h"
#include "platform/random.h"

void SoundWorldTest::SetUp() {
    InTempDir::SetUp();
    CopyResources();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    game.worldTask = &world;
    ASSERT_TRUE(game.InitSound());
    world.my_soundSystem = game.soundSystem;
    ASSERT_TRUE(world.LoadSounds());
    world.my_mode = MODE_CHASE;
}

void SoundWorldTest::TearDown() {
    world.ReleaseSounds();
    game.ReleaseSound();
    unsetenv("SDL_AUDIODRIVER");
    InTempDir::TearDown();
}

void DrivenWorldTest::SetUp() {
    SoundWorldTest::SetUp();
    game.SetDefaultSettings(&settings);
    InputTask::pressedKeys = keys;
    InputTask::keyCount = SDLK_LAST;
    InputTask::lastUsed = INPUT_KEYS;
}

void DrivenWorldTest::TearDown() {
    InputTask::pressedKeys = nullptr;
    InputTask::keyCount = 0;
    InputTask::pointerHeld = false;
    SoundWorldTest::TearDown();
}

void DrivenWorldTest::Frame(double dT) {
    bool watched = world.my_playback.active && world.WatchFrame(dT);
    if (!watched) {
        world.AdvanceWorld(dT);
    }
    if (drawn) {
        world.DrawGame(dT);
    }
    if (!watched) {
        world.UpdateScreen(dT);
    }
}

void DrivenWorldTest::Frames(int count, double dT) {
    for (int i = 0; i < count; ++i) {
        Frame(dT);
    }
}

void DrivenWorldTest::StartAGame() {
    keys[SDLK_RETURN] = 1;
    for (int frame = 0; frame < 2000 && world.my_mode != MODE_CHASE; ++frame) {
        Frame(0.01);
    }
    keys[SDLK_RETURN] = 0;
}

void WorldFixture::SetUp() {
    if (!HaveDisplay()) {
        GTEST_SKIP() << "needs an X display: run it through tools/test.sh, which uses xvfb-run "
                        "(Debian package xvfb)";
    }
    DrivenWorldTest::SetUp();
    VideoUpdate::screenWidth = windowWidth;
    VideoUpdate::screenHeight = windowHeight;
    ASSERT_TRUE(video.Start());
    world.ReleaseSounds();  // the start loads them again, with the pictures
    tobrin::srand(2026);    // the same ocean whatever ran before
    ASSERT_TRUE(world.Start());
    drawn = true;
}

void WorldFixture::TearDown() {
    if (HaveDisplay()) {
        world.Stop();
        video.Stop();
        DrivenWorldTest::TearDown();
    }
}
