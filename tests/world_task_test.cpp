// The world's pictures, sounds and music, loaded through the real code into a real OpenGL
// context and the sound layer.
#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "engine/kernel.h"
#include "engine/video_update.h"
#include "game/assets.h"
#include "game/game.h"
#include "game/world_task.h"
#include "game_process.h"
#include "png_files.h"
#include "test_support.h"

namespace {

std::string ResourcePath(const std::string& folder) {
    return std::string(TOBRIN_SOURCE_DIR) + "/resources/" + folder;
}

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(AssetTablesTest, TablesNameExactlyTheCommittedFiles) {
    std::set<std::string> images(IMG_filenames, IMG_filenames + ASSET_IMAGE_COUNT);
    EXPECT_EQ(images.size(), 48u) << "no picture is listed twice";
    images.insert("tobrin_icon.png");
    EXPECT_EQ(FilesIn(ResourcePath("images")), images);
    std::set<std::string> sounds(SND_filenames, SND_filenames + ASSET_SOUND_COUNT);
    EXPECT_EQ(FilesIn(ResourcePath("audio")), sounds);
}

TEST(AssetTablesTest, NamesIndexTheirOwnFiles) {
    struct Entry {
        int index;
        const char* file;
    };
    for (Entry entry : {Entry{IMG_SUB, "sub.png"},
                        {IMG_PROP3, "prop3.png"},
                        {IMG_FISHIE_RED, "fishie_red.png"},
                        {IMG_SEEDWEED_SEED, "seedweed_seed.png"},
                        {IMG_SEEDWEED_8, "seedweed_8.png"},
                        {IMG_FISH_BODY, "fish_body.png"},
                        {IMG_FISH_FACE3, "fish_face3.png"},
                        {IMG_CIRCLE_FRAME, "circle_frame.png"},
                        {IMG_WAVE, "wave.png"},
                        {IMG_NUM_0, "num_0.png"},
                        {IMG_NUM_9, "num_9.png"},
                        {IMG_TEXT_TOBRIN, "text_tobrin.png"},
                        {IMG_TEXT_PRESS_ENTER, "text_press_enter.png"},
                        {IMG_TEXT_PRESS_ESCAPE, "text_press_escape.png"},
                        {IMG_TEXT_NAME, "text_name.png"},
                        {IMG_TEXT_SCORE, "text_score.png"},
                        {IMG_TEXT_PAUSED, "text_paused.png"}}) {
        EXPECT_STREQ(IMG_filenames[entry.index], entry.file);
    }
    EXPECT_EQ(IMG_TEXT_PAUSED, 47);
    EXPECT_STREQ(SND_filenames[SND_BRINY], "briny.xm");
    EXPECT_STREQ(SND_filenames[SND_ATTACK], "attack.xm");
    EXPECT_STREQ(SND_filenames[SND_EATEN_TUNE], "eaten_tune.wav");
    EXPECT_STREQ(SND_filenames[SND_COLLIDE1], "collide1.wav");
    EXPECT_STREQ(SND_filenames[SND_COLLECT3], "collect3.wav");
    EXPECT_EQ(SND_BITE, 9);
}

TEST(AssetTablesTest, EveryPictureDecodesToThreeOrFourBytesAPixel) {
    for (const std::string& name : FilesIn(ResourcePath("images"))) {
        SDL_Surface* surface = IMG_Load((ResourcePath("images") + "/" + name).c_str());
        ASSERT_NE(surface, nullptr) << name;
        EXPECT_EQ(surface->format->BytesPerPixel, 4) << name << " must be 8-bit RGBA";
        int w = surface->w, h = surface->h;
        EXPECT_TRUE((w & (w - 1)) == 0 && (h & (h - 1)) == 0) << name << " " << w << "x" << h;
        SDL_FreeSurface(surface);
    }
}

// A window with its OpenGL context, and the game's sound system on the dummy driver.
class WorldTaskTest : public InTempDir {
protected:
    Kernel* kernel = nullptr;
    VideoUpdate video;
    Game game;
    WorldTask world;

    void SetUp() override {
        if (!HaveDisplay()) {
            GTEST_SKIP() << "needs an X display";
        }
        InTempDir::SetUp();
        CopyResources();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        kernel = new Kernel;
        VideoUpdate::screenWidth = 320;
        VideoUpdate::screenHeight = 240;
        ASSERT_TRUE(video.Start());
        ASSERT_TRUE(game.InitSound());
        WorldTask::music = WorldTask::MusicState();
        WorldTask::my_playSounds = true;
        game.worldTask = &world;
    }
    void TearDown() override {
        if (!kernel) {
            return;
        }
        game.ReleaseSound();
        video.Stop();
        delete kernel;
        unsetenv("SDL_AUDIODRIVER");
        InTempDir::TearDown();
    }
    static GLint TextureParameter(std::uint32_t texture, GLenum parameter) {
        GLint value = -1;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
        return value;
    }
};

TEST_F(WorldTaskTest, EveryCommittedFileLoadsAndStopFreesThem) {
    ASSERT_TRUE(world.Start());
    std::set<std::uint32_t> names(world.my_textures, world.my_textures + ASSET_IMAGE_COUNT);
    EXPECT_EQ(names.size(), 48u);
    for (int i = 0; i < ASSET_IMAGE_COUNT; ++i) {
        EXPECT_GT(TextureParameter(world.my_textures[i], GL_TEXTURE_WIDTH), 0) << IMG_filenames[i];
        EXPECT_GT(TextureParameter(world.my_textures[i], GL_TEXTURE_ALPHA_SIZE), 0)
            << IMG_filenames[i];
    }
    for (FMOD_SOUND* sound : world.my_sounds) {
        EXPECT_NE(sound, nullptr);
    }
    EXPECT_EQ(WorldTask::music.tune, SND_BRINY) << "start-up asks for the menu tune";
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    std::uint32_t first = world.my_textures[0];
    world.Stop();
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_TRUE(CapturedBoxes().empty());
}

TEST_F(WorldTaskTest, MissingWavePictureFailsAfterThePicturesBeforeItLoaded) {
    std::filesystem::remove("resources/images/wave.png");
    EXPECT_FALSE(world.LoadImages());
    for (int i = 0; i < IMG_WAVE; ++i) {
        EXPECT_GT(TextureParameter(world.my_textures[i], GL_TEXTURE_WIDTH), 0) << IMG_filenames[i];
    }
    EXPECT_EQ(TextureParameter(world.my_textures[IMG_WAVE], GL_TEXTURE_WIDTH), 0);
    std::vector<std::string> lines = LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Warning: problem loading image 'resources/images/wave.png'"),
              lines.end());
    EXPECT_FALSE(world.Start());
    EXPECT_TRUE(CapturedBoxes().empty()) << "a picture's failure is the start-up's to report";
}

TEST_F(WorldTaskTest, MissingSoundFailsWithTheSoundLibrarysErrorNamingTheFile) {
    std::filesystem::remove("resources/audio/collect2.wav");
    EXPECT_FALSE(world.Start());
    std::vector<std::string> lines = LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Sound: Cannot open sound file 'resources/audio/collect2.wav'"),
              lines.end());
    ASSERT_EQ(CapturedBoxes().size(), 1u);
    EXPECT_EQ(CapturedBoxes()[0].rfind("Kelo Message|Error with FMOD! (", 0), 0u);
    for (FMOD_SOUND* sound : world.my_sounds) {
        EXPECT_EQ(sound, nullptr) << "what did load is released again";
    }
}

TEST_F(WorldTaskTest, PicturesBecomeThreeOrFourComponentTexturesByTheirBytesAPixel) {
    for (int i = 0; i < ASSET_IMAGE_COUNT; ++i) {
        PngKind kind = i % 3 == 0 ? PngKind::RGB : i % 3 == 1 ? PngKind::RGBA : PngKind::Palette;
        WriteTestPng(std::string("resources/images/") + IMG_filenames[i], 8, 4, kind);
    }
    ASSERT_TRUE(world.LoadImages());
    for (int i = 0; i < ASSET_IMAGE_COUNT; ++i) {
        GLint alphaBits = TextureParameter(world.my_textures[i], GL_TEXTURE_ALPHA_SIZE);
        GLint internal = TextureParameter(world.my_textures[i], GL_TEXTURE_INTERNAL_FORMAT);
        if (i % 3 == 0) {
            EXPECT_EQ(alphaBits, 0) << i;
            EXPECT_TRUE(internal == 3 || internal == GL_RGB || internal == GL_RGB8) << internal;
        } else {
            // RGBA as it is, and palette pictures turned into RGBA.
            EXPECT_GT(alphaBits, 0) << i;
            EXPECT_TRUE(internal == 4 || internal == GL_RGBA || internal == GL_RGBA8) << internal;
        }
        EXPECT_EQ(TextureParameter(world.my_textures[i], GL_TEXTURE_WIDTH), 8);
    }
    // The picture's colour arrives as it was drawn.
    glBindTexture(GL_TEXTURE_2D, world.my_textures[2]);
    unsigned char texels[8 * 4 * 4];
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    EXPECT_EQ(texels[0], 200);
    EXPECT_EQ(texels[1], 100);
    EXPECT_EQ(texels[2], 50);
    EXPECT_EQ(texels[3], 255);
}

unsigned PlayedMilliseconds() {
    unsigned position = 0;
    EXPECT_EQ(FMOD_Channel_GetPosition(WorldTask::music.channel, &position, FMOD_TIMEUNIT_MS),
              FMOD_OK);
    return position;
}

TEST_F(WorldTaskTest, TuneAlreadyPlayingIsNeitherRestartedNorInterrupted) {
    ASSERT_TRUE(world.Start());
    SDL_Delay(300);
    world.MusicMode(MODE_SWIM);
    world.MusicMode(MODE_MENU);
    EXPECT_GE(PlayedMilliseconds(), 290u) << "the menu tune went on from where it was";
    EXPECT_TRUE(Mix_PlayingMusic());
    world.MusicMode(MODE_CHASE);
    EXPECT_LT(PlayedMilliseconds(), 100u) << "a new tune starts from its beginning";
    EXPECT_EQ(WorldTask::music.tune, SND_ATTACK);
    SDL_Delay(150);
    world.MusicMode(static_cast<MODES>(42));
    EXPECT_GE(PlayedMilliseconds(), 140u) << "any other request is the chase tune, playing on";
    world.MusicMode(MODE_CHOMPED);
    EXPECT_EQ(WorldTask::music.tune, SND_EATEN_TUNE);
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_TRUE(Mix_Playing(0)) << "the eaten tune is a sample on the music channel";
    world.Stop();
}

TEST_F(WorldTaskTest, TuneAskedForWhileStoppedStartsPausedAndIsHeardAfterStart) {
    ASSERT_TRUE(world.Start());
    world.StopMusic();
    EXPECT_TRUE(Mix_PausedMusic());
    world.MusicMode(MODE_CHASE);
    EXPECT_EQ(WorldTask::music.tune, SND_ATTACK);
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_TRUE(Mix_PausedMusic()) << "the new tune must start paused";
    world.StartMusic();
    EXPECT_FALSE(Mix_PausedMusic());
    EXPECT_TRUE(Mix_PlayingMusic());
    world.Stop();
}

TEST_F(WorldTaskTest, EffectsPlayOnlyWhileSwitchedOn) {
    ASSERT_TRUE(world.Start());
    WorldTask::my_playSounds = false;
    world.PlaySoundEffect(SND_BITE);
    world.PlaySoundVariant(SND_COLLECT1);
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_TRUE(Mix_PlayingMusic()) << "the music is not an effect";
    WorldTask::my_playSounds = true;
    world.PlaySoundEffect(SND_BITE);
    world.PlaySoundVariant(SND_COLLIDE1);
    EXPECT_EQ(Mix_Playing(-1), 2);
    EXPECT_TRUE(CapturedBoxes().empty());
    world.Stop();
}

}  // namespace
