// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound_world.h"

#include "engine/global_timer.h"
#include "engine/input_task.h"

#include <cstdlib>
#include <filesystem>
#include <string>

void SoundWorldTest::SetUp() {
    InTempDir::SetUp();
    std::filesystem::create_directories("resources");
    std::filesystem::copy(std::string(TOBRIN_SOURCE_DIR) + "/resources/audio", "resources/audio");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    game.worldTask = &world;
    ASSERT_TRUE(game.InitSound());
    ASSERT_TRUE(world.LoadSounds());
    WorldTask::my_playSounds = true;
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
    WorldTask::fishieSpawnTimer = WorldTask::seedWeedSpawnTimer = 0.0;
    WorldTask::subGoingUp = WorldTask::my_pausedPress = false;
    WorldTask::direction = 1;
    WorldTask::music = WorldTask::MusicState();
    Sub::myDroneRise = true;
    Sub::my_droneTimer = 0.0;
}

void DrivenWorldTest::TearDown() {
    InputTask::pressedKeys = nullptr;
    SoundWorldTest::TearDown();
}

void DrivenWorldTest::Frame(double dT) {
    GlobalTimer::deltaTime = dT;
    world.AdvanceWorld();
    world.UpdateScreen();
}
