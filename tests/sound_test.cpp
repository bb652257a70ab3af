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

#include "platform/fmod.h"
#include "sound_world.h"

namespace {

std::vector<std::string> notes;
void CollectNote(const char* message) {
    notes.push_back(message);
}

class SoundTest : public InTempDir {
protected:
    FMOD_SYSTEM* system = nullptr;
    FMOD_SOUND* tune = nullptr;
    FMOD_SOUND* blip = nullptr;

    void SetUp() override {
        InTempDir::SetUp();
        notes.clear();
        FMOD_Debug_SetCallback(CollectNote);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::string audio = std::string(TOBRIN_SOURCE_DIR) + "/resources/audio/";
        ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
        ASSERT_EQ(FMOD_System_Init(system, 32, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
        ASSERT_EQ(FMOD_System_CreateSound(system, (audio + "attack.xm").c_str(), FMOD_DEFAULT,
                                          nullptr, &tune),
                  FMOD_OK);
        ASSERT_EQ(FMOD_System_CreateSound(system, (audio + "collect1.wav").c_str(), FMOD_DEFAULT,
                                          nullptr, &blip),
                  FMOD_OK);
    }
    void TearDown() override {
        EXPECT_EQ(FMOD_System_Release(system), FMOD_OK);
        unsetenv("SDL_AUDIODRIVER");
        FMOD_Debug_SetCallback(nullptr);
        InTempDir::TearDown();
    }
    FMOD_CHANNEL* Play(int channel, FMOD_SOUND* sound, bool paused = false) {
        FMOD_CHANNEL* played = nullptr;
        EXPECT_EQ(FMOD_System_PlaySound(system, channel, sound, paused, &played), FMOD_OK);
        return played;
    }
};

TEST_F(SoundTest, TheMusicChannelHoldsOneSoundAndEffectsMakeWayOldestFirst) {
    FMOD_CHANNEL* music = Play(FMOD_CHANNEL_REUSE, tune);
    EXPECT_TRUE(Mix_PlayingMusic());
    std::vector<FMOD_CHANNEL*> effects;
    for (int i = 0; i < 40; ++i) {
        effects.push_back(Play(FMOD_CHANNEL_FREE, blip));
        EXPECT_NE(effects.back(), music);
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(effects[32 + i], effects[i]) << "the oldest effects made way";
    }
    EXPECT_EQ(Play(FMOD_CHANNEL_REUSE, blip), music);
    EXPECT_FALSE(Mix_PlayingMusic()) << "a sample on the music channel stops the module";
    EXPECT_EQ(Play(FMOD_CHANNEL_REUSE, tune, true), music);
    EXPECT_TRUE(Mix_PausedMusic()) << "started paused";
    EXPECT_EQ(FMOD_Channel_SetPaused(music, 0), FMOD_OK);
    EXPECT_FALSE(Mix_PausedMusic());
    EXPECT_EQ(FMOD_Sound_Release(tune), FMOD_OK);
    EXPECT_FALSE(Mix_PlayingMusic()) << "a released sound stops";
    EXPECT_TRUE(notes.empty());
}

TEST_F(SoundTest, FilesThatAreNoSoundFailAndTheNoteNamesThem) {
    WriteTextFile("fake.wav", "this is not a sound at all");
    WriteTextFile("fake.xm", "Extended Module: but nothing after the signature");
    for (const char* name : {"fake.wav", "fake.xm", "missing.xm"}) {
        notes.clear();
        FMOD_SOUND* sound = nullptr;
        EXPECT_NE(FMOD_System_CreateSound(system, name, FMOD_DEFAULT, nullptr, &sound), FMOD_OK);
        EXPECT_EQ(sound, nullptr);
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_NE(notes[0].find(name), std::string::npos) << notes[0];
    }
    EXPECT_NE(FMOD_System_PlaySound(nullptr, FMOD_CHANNEL_FREE, nullptr, 0, nullptr), FMOD_OK);
    EXPECT_NE(FMOD_Channel_SetPaused(nullptr, 1), FMOD_OK);
    EXPECT_EQ(FMOD_System_Close(system), FMOD_OK);
    EXPECT_EQ(FMOD_System_Close(system), FMOD_OK) << "the shutdown closes twice";
    EXPECT_EQ(FMOD_System_Init(system, 32, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
}

TEST(SoundFallbackTest, NoAudioDeviceFallsBackToSilenceAndStillChecksFiles) {
    notes.clear();
    FMOD_Debug_SetCallback(CollectNote);
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    FMOD_SYSTEM* system = nullptr;
    ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
    ASSERT_EQ(FMOD_System_Init(system, 32, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("runs without sound"), std::string::npos) << notes[0];
    std::string wav = std::string(TOBRIN_SOURCE_DIR) + "/resources/audio/bite.wav";
    FMOD_SOUND* sound = nullptr;
    EXPECT_EQ(FMOD_System_CreateSound(system, wav.c_str(), FMOD_DEFAULT, nullptr, &sound), FMOD_OK);
    EXPECT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, sound, 0, nullptr), FMOD_OK);
    EXPECT_NE(FMOD_System_CreateSound(system, "/nonexistent/x.wav", FMOD_DEFAULT, nullptr, &sound),
              FMOD_OK);
    EXPECT_EQ(FMOD_System_Release(system), FMOD_OK);
    unsetenv("SDL_AUDIODRIVER");
    FMOD_Debug_SetCallback(nullptr);
}

using WorldSoundTest = SoundWorldTest;

// One tune a mode: asking for the one that plays goes on with it, a new one starts from its
// beginning, paused while the music is switched off.
TEST_F(WorldSoundTest, MusicFollowsTheModeAndEffectsOnlyPlayWhenSwitchedOn) {
    WorldTask::music = WorldTask::MusicState();
    world.MusicMode(MODE_MENU);
    EXPECT_EQ(WorldTask::music.tune, SND_BRINY);
    FMOD_CHANNEL* channel = WorldTask::music.channel;
    Mix_PauseMusic();  // behind the world's back: a restarted tune would play again
    world.MusicMode(MODE_SWIM);
    EXPECT_TRUE(Mix_PausedMusic()) << "swimming goes on with the menu's tune undisturbed";
    Mix_ResumeMusic();
    world.StopMusic();
    world.MusicMode(MODE_CHASE);
    EXPECT_EQ(WorldTask::music.tune, SND_ATTACK);
    EXPECT_TRUE(Mix_PausedMusic()) << "a new tune starts paused while the music is off";
    world.StartMusic();
    EXPECT_FALSE(Mix_PausedMusic());
    world.MusicMode(MODE_CHOMPED);
    EXPECT_EQ(WorldTask::music.channel, channel);
    EXPECT_FALSE(Mix_PlayingMusic()) << "the eaten tune is a sample on the music channel";

    WorldTask::my_playSounds = false;
    world.PlaySoundEffect(SND_BITE);
    world.PlaySoundVariant(SND_COLLECT1);
    EXPECT_EQ(Mix_Playing(-1), 1) << "only the eaten tune";
    WorldTask::my_playSounds = true;
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
    EXPECT_GT(loudest, 32767 / 8) << "the effects were not heard";
    EXPECT_LT(loudest, 32767) << "the mix reached full scale";
}

INSTANTIATE_TEST_SUITE_P(MenuAndChaseTunes, SoundHeadroomTest,
                         ::testing::Values(MODE_MENU, MODE_CHASE));

}  // namespace
