// SPDX-License-Identifier: GPL-3.0-or-later
// The sound layer on the game's own files (modules as music, samples as effects, the one
// music channel, the silent fallback and the errors), and the world's music and effect rules.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/log.h"
#include "platform/fmod.h"
#include "world_fixture.h"

namespace {

using SoundTest = SoundWorldTest;

TEST_F(SoundTest, TheMusicChannelHoldsOneSoundAndEffectsMakeWayOldestFirst) {
    FMOD_SYSTEM* system = game.soundSystem;
    auto play = [&](int channel, int sound, bool paused = false) {
        FMOD_CHANNEL* played = nullptr;
        EXPECT_EQ(FMOD_System_PlaySound(system, channel, world.my_sounds[sound], paused, &played),
                  FMOD_OK);
        return played;
    };
    FMOD_CHANNEL* music = play(FMOD_CHANNEL_REUSE, SND_ATTACK);
    EXPECT_TRUE(Mix_PlayingMusic());
    std::vector<FMOD_CHANNEL*> effects;
    for (int i = 0; i < 40; ++i) {
        effects.push_back(play(FMOD_CHANNEL_FREE, SND_COLLECT1));
        EXPECT_NE(effects.back(), music);
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(effects[32 + i], effects[i]) << "the oldest effects made way";
    }
    play(FMOD_CHANNEL_FREE, SND_BITE, true);
    EXPECT_EQ(Mix_Paused(-1), 1) << "an effect started paused waits";
    EXPECT_EQ(play(FMOD_CHANNEL_REUSE, SND_BITE), music);
    EXPECT_FALSE(Mix_PlayingMusic()) << "a sample on the music channel stops the module";
    EXPECT_EQ(play(FMOD_CHANNEL_REUSE, SND_BRINY, true), music);
    EXPECT_TRUE(Mix_PausedMusic()) << "started paused";
    EXPECT_EQ(FMOD_Channel_SetPaused(music, 0), FMOD_OK);
    EXPECT_FALSE(Mix_PausedMusic());
    EXPECT_EQ(FMOD_Sound_Release(world.my_sounds[SND_BRINY]), FMOD_OK);
    world.my_sounds[SND_BRINY] = nullptr;
    EXPECT_FALSE(Mix_PlayingMusic()) << "a released sound stops";
}

// Without an audio device the game runs silent; the system closes twice, refuses to open
// without channels and opens again.
TEST_F(InTempDir, WithoutADeviceTheGameRunsSilent) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    Game game;
    ASSERT_TRUE(game.InitSound());
    EXPECT_TRUE(LogHas("Sound: No audio device could be opened")) << ReadTextFile("log.txt");
    EXPECT_EQ(FMOD_System_Close(game.soundSystem), FMOD_OK) << "the shutdown closes twice";
    EXPECT_NE(FMOD_System_Init(game.soundSystem, 0, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    EXPECT_EQ(FMOD_System_Init(game.soundSystem, 32, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    game.ReleaseSound();
    unsetenv("SDL_AUDIODRIVER");
}

using WorldSoundTest = SoundWorldTest;

// One tune a mode: asking for the one that plays goes on with it, a new one starts from its
// beginning, paused while the music is switched off.
TEST_F(WorldSoundTest, MusicFollowsTheModeAndEffectsOnlyPlayWhenSwitchedOn) {
    world.MusicMode(MODE_MENU);
    EXPECT_EQ(world.music.tune, SND_BRINY);
    FMOD_CHANNEL* channel = world.music.channel;
    Mix_PauseMusic();  // behind the world's back: a restarted tune would play again
    world.MusicMode(MODE_SWIM);
    EXPECT_TRUE(Mix_PausedMusic()) << "swimming goes on with the menu's tune undisturbed";
    Mix_ResumeMusic();
    world.StopMusic();
    world.MusicMode(MODE_CHASE);
    EXPECT_EQ(world.music.tune, SND_ATTACK);
    EXPECT_TRUE(Mix_PausedMusic()) << "a new tune starts paused while the music is off";
    world.StartMusic();
    EXPECT_FALSE(Mix_PausedMusic());
    world.MusicMode(MODE_CHOMPED);
    EXPECT_EQ(world.music.channel, channel);
    EXPECT_FALSE(Mix_PlayingMusic()) << "the eaten tune is a sample on the music channel";

    world.my_playSounds = false;
    world.PlaySoundEffect(SND_BITE);
    world.PlaySoundVariant(SND_COLLECT1);
    EXPECT_EQ(Mix_Playing(-1), 1) << "only the eaten tune";
    world.my_playSounds = true;
    world.PlaySoundEffect(SND_BITE);
    world.PlaySoundVariant(SND_COLLIDE1);
    EXPECT_EQ(Mix_Playing(-1), 3);
    EXPECT_TRUE(CapturedBoxes().empty());
}

// A school swallowed at a weed fires several effects in one moment over the music: what the
// mixer sends out, recorded through SDL's disk driver, must keep below full scale.
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
    ASSERT_TRUE(game.InitSound());
    world.my_soundSystem = game.soundSystem;
    char driver[16] = "";
    ASSERT_STREQ(SDL_AudioDriverName(driver, sizeof driver), "disk") << "it records the mix";
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
    EXPECT_GT(loudest, 32767 / 8) << "the effects were not heard";
    EXPECT_LT(loudest, 32767) << "the mix reached full scale";
}

INSTANTIATE_TEST_SUITE_P(MenuAndChaseTunes, SoundHeadroomTest,
                         ::testing::Values(MODE_MENU, MODE_CHASE));

}  // namespace
