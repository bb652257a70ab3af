// A school swallowed at a weed fires several effects in one moment over the music: what the
// mixer sends out, recorded through SDL's disk driver, must keep below full scale.
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/world_task.h"
#include "test_support.h"

namespace {

class SoundHeadroomTest : public InTempDir, public ::testing::WithParamInterface<MODES> {};

// The loudest sample of the recording, 16-bit signed in the machine's order.
int LoudestSample(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), {});
    int loudest = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::int16_t sample = 0;
        std::memcpy(&sample, &bytes[i], 2);
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    }
    return loudest;
}

TEST_P(SoundHeadroomTest, MusicWithThreeCollectsAndACollideNeverReachesFullScale) {
    std::filesystem::create_directories("resources");
    std::filesystem::copy(std::string(TOBRIN_SOURCE_DIR) + "/resources/audio", "resources/audio");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "mix.raw", 1);
    Game game;
    WorldTask world;
    game.worldTask = &world;
    WorldTask::music = WorldTask::MusicState();
    WorldTask::my_playSounds = true;
    ASSERT_TRUE(game.InitSound());
    FMOD_OUTPUTTYPE output = FMOD_OUTPUTTYPE_NOSOUND;
    FMOD_System_GetOutput(game.soundSystem, &output);
    ASSERT_EQ(output, FMOD_OUTPUTTYPE_AUTODETECT) << "the disk driver must record the mix";
    ASSERT_TRUE(world.LoadSounds());
    world.MusicMode(GetParam());
    SDL_Delay(1000);
    SDL_LockAudio();  // all four in the same mixing pass, the worst moment
    for (SOUNDS effect : {SND_COLLECT1, SND_COLLECT2, SND_COLLECT3, SND_COLLIDE1}) {
        world.PlaySoundEffect(effect);
    }
    SDL_UnlockAudio();
    SDL_Delay(600);
    world.ReleaseSounds();
    game.ReleaseSound();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
    int loudest = LoudestSample("mix.raw");
    std::cout << "loudest sample " << loudest << " of 32767\n";
    EXPECT_GT(loudest, 32767 / 8) << "the effects were not heard";
    EXPECT_LT(loudest, 32767) << "the mix reached full scale";
}

INSTANTIATE_TEST_SUITE_P(MenuAndChaseTunes, SoundHeadroomTest,
                         ::testing::Values(MODE_MENU, MODE_CHASE));

}  // namespace
