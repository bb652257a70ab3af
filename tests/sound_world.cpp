#include "sound_world.h"

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
