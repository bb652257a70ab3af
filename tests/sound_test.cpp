// The sound layer on real files: modules as music, samples as effects, the music channel,
// the silent fallback and the errors.
#include <SDL.h>
#include <SDL_mixer.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/fmod.h"
#include "sound_files.h"
#include "test_support.h"

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
        WriteTestXm("tune.xm");
        WriteTestWav("blip.wav", 0.5);
        ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
        ASSERT_EQ(FMOD_System_Init(system, 32, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
        ASSERT_EQ(FMOD_System_CreateSound(system, "tune.xm", FMOD_DEFAULT, nullptr, &tune),
                  FMOD_OK);
        ASSERT_EQ(FMOD_System_CreateSound(system, "blip.wav", FMOD_DEFAULT, nullptr, &blip),
                  FMOD_OK);
    }
    void TearDown() override {
        EXPECT_EQ(FMOD_System_Release(system), FMOD_OK);
        unsetenv("SDL_AUDIODRIVER");
        FMOD_Debug_SetCallback(nullptr);
        InTempDir::TearDown();
    }
    static bool Playing(FMOD_CHANNEL* channel) {
        FMOD_BOOL playing = 0;
        EXPECT_EQ(FMOD_Channel_IsPlaying(channel, &playing), FMOD_OK);
        return playing != 0;
    }
    static bool Paused(FMOD_CHANNEL* channel) {
        FMOD_BOOL paused = 0;
        EXPECT_EQ(FMOD_Channel_GetPaused(channel, &paused), FMOD_OK);
        return paused != 0;
    }
};

TEST_F(SoundTest, VersionIsTheOneTheGameNeeds) {
    unsigned version = 0;
    ASSERT_EQ(FMOD_System_GetVersion(system, &version), FMOD_OK);
    EXPECT_GE(version, 0x00040201u);
}

TEST_F(SoundTest, ModuleLoopsOnTheMusicChannel) {
    FMOD_CHANNEL* music = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, tune, 0, &music), FMOD_OK);
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(Playing(music));
    // The pattern lasts under a second; a module keeps going past its end.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(Playing(music));
}

TEST_F(SoundTest, EffectPlaysOnAFreeChannel) {
    FMOD_CHANNEL* channel = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, blip, 0, &channel), FMOD_OK);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(Playing(channel));
    EXPECT_FALSE(Paused(channel));
}

TEST_F(SoundTest, FortyEffectsAtOnceAllSucceed) {
    std::vector<FMOD_CHANNEL*> channels;
    for (int i = 0; i < 40; ++i) {
        FMOD_CHANNEL* channel = nullptr;
        ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, blip, 0, &channel), FMOD_OK)
            << "effect " << i;
        channels.push_back(channel);
    }
    // The last eight took the channels of the first eight, the oldest effects.
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(channels[32 + i], channels[i]);
    }
    EXPECT_TRUE(Playing(channels.back()));
    EXPECT_TRUE(notes.empty());
}

TEST_F(SoundTest, EffectsNeverTakeTheMusicChannel) {
    FMOD_CHANNEL* music = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, blip, 0, &music), FMOD_OK);
    for (int i = 0; i < 40; ++i) {
        FMOD_CHANNEL* channel = nullptr;
        ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, blip, 0, &channel), FMOD_OK);
        EXPECT_NE(channel, music);
    }
    EXPECT_TRUE(Playing(music));
}

TEST_F(SoundTest, NewSoundOnTheMusicChannelReplacesTheOld) {
    FMOD_CHANNEL* music = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, tune, 0, &music), FMOD_OK);
    FMOD_CHANNEL* again = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, blip, 0, &again), FMOD_OK);
    EXPECT_EQ(again, music);
    EXPECT_FALSE(Mix_PlayingMusic()) << "the module must stop when a sample replaces it";
    EXPECT_TRUE(Playing(music));
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, tune, 0, &music), FMOD_OK);
    EXPECT_FALSE(Mix_Playing(0)) << "the sample must stop when a module replaces it";
    EXPECT_TRUE(Playing(music));
}

TEST_F(SoundTest, SampleOnTheMusicChannelPlaysOnce) {
    FMOD_SOUND* shortBlip = nullptr;
    WriteTestWav("short.wav", 0.1);
    ASSERT_EQ(FMOD_System_CreateSound(system, "short.wav", FMOD_DEFAULT, nullptr, &shortBlip),
              FMOD_OK);
    FMOD_CHANNEL* music = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, shortBlip, 0, &music), FMOD_OK);
    bool ended = false;
    for (int wait = 0; wait < 100 && !ended; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ended = !Playing(music);
    }
    EXPECT_TRUE(ended);
}

TEST_F(SoundTest, PauseAndResumeTheMusicChannel) {
    FMOD_CHANNEL* music = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, tune, 0, &music), FMOD_OK);
    EXPECT_EQ(FMOD_Channel_SetPaused(music, 1), FMOD_OK);
    EXPECT_TRUE(Paused(music));
    EXPECT_EQ(FMOD_Channel_SetPaused(music, 0), FMOD_OK);
    EXPECT_FALSE(Paused(music));
}

TEST_F(SoundTest, PositionCountsPlayingTimeOnlyAndStartsOverWithANewSound) {
    FMOD_CHANNEL* music = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, tune, 0, &music), FMOD_OK);
    SDL_Delay(200);
    FMOD_Channel_SetPaused(music, 1);
    unsigned atPause = 0, later = 0;
    ASSERT_EQ(FMOD_Channel_GetPosition(music, &atPause, FMOD_TIMEUNIT_MS), FMOD_OK);
    EXPECT_GE(atPause, 190u);
    SDL_Delay(200);
    ASSERT_EQ(FMOD_Channel_GetPosition(music, &later, FMOD_TIMEUNIT_MS), FMOD_OK);
    EXPECT_EQ(later, atPause) << "a paused sound does not advance";
    FMOD_Channel_SetPaused(music, 0);
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, blip, 0, &music), FMOD_OK);
    ASSERT_EQ(FMOD_Channel_GetPosition(music, &later, FMOD_TIMEUNIT_MS), FMOD_OK);
    EXPECT_LT(later, 100u);
}

TEST_F(SoundTest, SoundStartedPausedIsHeardOnlyAfterResume) {
    FMOD_CHANNEL* music = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, blip, 1, &music), FMOD_OK);
    EXPECT_TRUE(Paused(music));
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, tune, 1, &music), FMOD_OK);
    EXPECT_TRUE(Paused(music));
    FMOD_Channel_SetPaused(music, 0);
    EXPECT_FALSE(Paused(music));
    EXPECT_TRUE(Playing(music));
}

TEST_F(SoundTest, MissingFileFailsAndTheNoteNamesIt) {
    FMOD_SOUND* sound = nullptr;
    FMOD_RESULT result =
        FMOD_System_CreateSound(system, "resources/audio/briny.xm", FMOD_DEFAULT, nullptr, &sound);
    EXPECT_NE(result, FMOD_OK);
    EXPECT_EQ(sound, nullptr);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("resources/audio/briny.xm"), std::string::npos) << notes[0];
    EXPECT_STRNE(FMOD_ErrorString(result), "");
}

TEST_F(SoundTest, FileThatIsNoSoundFailsAndTheNoteNamesIt) {
    WriteTextFile("fake.wav", "this is not a sound at all");
    WriteTextFile("fake.xm", "Extended Module: but nothing after the signature");
    for (const char* name : {"fake.wav", "fake.xm"}) {
        notes.clear();
        FMOD_SOUND* sound = nullptr;
        EXPECT_NE(FMOD_System_CreateSound(system, name, FMOD_DEFAULT, nullptr, &sound), FMOD_OK);
        EXPECT_EQ(sound, nullptr);
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_NE(notes[0].find(name), std::string::npos) << notes[0];
    }
}

TEST_F(SoundTest, ReleasingAPlayingSoundStopsIt) {
    FMOD_CHANNEL* music = nullptr;
    ASSERT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, tune, 0, &music), FMOD_OK);
    EXPECT_EQ(FMOD_Sound_Release(tune), FMOD_OK);
    EXPECT_FALSE(Playing(music));
    EXPECT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_REUSE, blip, 0, &music), FMOD_OK);
}

TEST_F(SoundTest, ClosingAndInitialisingAgainWorks) {
    EXPECT_EQ(FMOD_System_Close(system), FMOD_OK);
    EXPECT_EQ(FMOD_System_Close(system), FMOD_OK);  // the shutdown closes twice
    ASSERT_EQ(FMOD_System_Init(system, 32, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    FMOD_SOUND* sound = nullptr;
    ASSERT_EQ(FMOD_System_CreateSound(system, "blip.wav", FMOD_DEFAULT, nullptr, &sound), FMOD_OK);
    EXPECT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, sound, 0, nullptr), FMOD_OK);
}

TEST(SoundFallbackTest, NoAudioDeviceFallsBackToSilenceAndStillChecksFiles) {
    notes.clear();
    FMOD_Debug_SetCallback(CollectNote);
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    FMOD_SYSTEM* system = nullptr;
    ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
    ASSERT_EQ(FMOD_System_Init(system, 32, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    EXPECT_STREQ(std::getenv("SDL_AUDIODRIVER"), "no_such_driver");
    FMOD_OUTPUTTYPE output = FMOD_OUTPUTTYPE_AUTODETECT;
    ASSERT_EQ(FMOD_System_GetOutput(system, &output), FMOD_OK);
    EXPECT_EQ(output, FMOD_OUTPUTTYPE_NOSOUND);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("runs without sound"), std::string::npos) << notes[0];

    std::string wav = "/tmp/tobrin_fallback_blip.wav";
    WriteTestWav(wav, 0.2);
    FMOD_SOUND* sound = nullptr;
    EXPECT_EQ(FMOD_System_CreateSound(system, wav.c_str(), FMOD_DEFAULT, nullptr, &sound), FMOD_OK);
    EXPECT_EQ(FMOD_System_PlaySound(system, FMOD_CHANNEL_FREE, sound, 0, nullptr), FMOD_OK);
    EXPECT_NE(FMOD_System_CreateSound(system, "/nonexistent/x.wav", FMOD_DEFAULT, nullptr, &sound),
              FMOD_OK);
    EXPECT_EQ(FMOD_System_Release(system), FMOD_OK);
    std::remove(wav.c_str());
    unsetenv("SDL_AUDIODRIVER");
    FMOD_Debug_SetCallback(nullptr);
}

TEST(SoundHandleTest, NullHandlesAreRefusedNotCrashed) {
    EXPECT_NE(FMOD_System_Init(nullptr, 32, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    EXPECT_NE(FMOD_System_PlaySound(nullptr, FMOD_CHANNEL_FREE, nullptr, 0, nullptr), FMOD_OK);
    EXPECT_NE(FMOD_Channel_SetPaused(nullptr, 1), FMOD_OK);
    EXPECT_NE(FMOD_Sound_Release(nullptr), FMOD_OK);
    EXPECT_NE(FMOD_System_Close(nullptr), FMOD_OK);
}

}  // namespace
