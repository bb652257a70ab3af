// The video task on a real X server: the window, its OpenGL context and the key snapshot.
#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <string>

#include "engine/input_task.h"
#include "engine/kernel.h"
#include "engine/video_update.h"
#include "game_process.h"
#include "test_support.h"

namespace {

class VideoTest : public InTempDir {
protected:
    Kernel* kernel = nullptr;
    VideoUpdate video;
    void SetUp() override {
        if (!HaveDisplay()) {
            GTEST_SKIP() << "needs an X display";
        }
        InTempDir::SetUp();
        kernel = new Kernel;
        VideoUpdate::screenWidth = 320;
        VideoUpdate::screenHeight = 200;
        VideoUpdate::screenBPP = 16;
        VideoUpdate::screenFullScreen = false;
    }
    void TearDown() override {
        if (kernel) {
            delete kernel;
            InTempDir::TearDown();
        }
    }
};

TEST_F(VideoTest, OpensAnOpenGLWindowOfTheAskedSizeAndSwapsWhatWasDrawn) {
    ASSERT_TRUE(video.Start());
    EXPECT_EQ(LogLines(), std::vector<std::string>{"Settings are 320 by 200"});
    ASSERT_NE(video.surface, nullptr);
    EXPECT_EQ(video.surface->w, 320);
    EXPECT_EQ(video.surface->h, 200);
    EXPECT_NE(video.surface->flags & SDL_OPENGL, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

    glClearColor(0.0f, 0.2f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    video.Update();
    glReadBuffer(GL_FRONT);
    unsigned char pixel[4] = {};
    glReadPixels(160, 100, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_LE(pixel[0], 8);
    EXPECT_NEAR(pixel[1], 51, 8);
    EXPECT_GE(pixel[2], 247);
    video.Stop();
    EXPECT_EQ(video.surface, nullptr);
}

TEST_F(VideoTest, ImpossibleModeIsReportedWithItsFlags) {
    VideoUpdate::screenWidth = 100000;
    VideoUpdate::screenHeight = 100000;
    ASSERT_FALSE(video.Start());
    std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Cannot assign video mode of 100000 by 100000, BPP: 16, flags: 268435458");
    EXPECT_EQ(CapturedBoxes().size(), 1u);
}

TEST_F(VideoTest, InputSnapshotFollowsHeldKeysAndIsClearedOnStop) {
    SDL_WM_SetCaption("tobrin video test", nullptr);
    ASSERT_TRUE(video.Start());
    InputTask input;
    ASSERT_TRUE(input.Start());
    ASSERT_NE(InputTask::pressedKeys, nullptr);
    EXPECT_GE(InputTask::keyCount, static_cast<int>(SDLK_LAST));

    std::string window = WaitForWindow("tobrin video test", 20);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(FocusWindow(window));
    ASSERT_EQ(std::system("xdotool keydown space"), 0);
    bool seen = false;
    for (int frame = 0; frame < 200 && !seen; ++frame) {
        SDL_Delay(10);
        input.Update();
        seen = InputTask::pressedKeys[SDLK_SPACE] != 0;
    }
    EXPECT_TRUE(seen);
    for (int frame = 0; frame < 5; ++frame) {
        input.Update();
        EXPECT_NE(InputTask::pressedKeys[SDLK_SPACE], 0) << "a held key reads held every frame";
    }
    ASSERT_EQ(std::system("xdotool keyup space"), 0);
    bool released = false;
    for (int frame = 0; frame < 200 && !released; ++frame) {
        SDL_Delay(10);
        input.Update();
        released = InputTask::pressedKeys[SDLK_SPACE] == 0;
    }
    EXPECT_TRUE(released);
    input.Stop();
    EXPECT_EQ(InputTask::pressedKeys, nullptr);
    video.Stop();
}

}  // namespace
