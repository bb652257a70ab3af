// SPDX-License-Identifier: GPL-3.0-or-later
// What a desktop player expects: no tap lost between frames, a pause when the game loses the
// keyboard, a picture that keeps its shape, and full screen at a key.
#include <GL/gl.h>

#include "engine/input_task.h"
#include "world_fixture.h"

// Last: its macros (None, Status) would rename words of the headers above.
#include <X11/Xlib.h>

namespace {

class DesktopWorldTest : public WorldFixture {};

// Key events a slow frame gathered, and what each following frame's copy shows of Space and
// Alt: every change of a key in a frame of its own, in order, chords kept together.
TEST_F(DesktopWorldTest, KeyChangesBetweenTwoFramesAreEachShownForAFrame) {
    const Uint8 DOWN = SDL_KEYDOWN, UP = SDL_KEYUP;
    const struct {
        std::vector<std::pair<SDLKey, Uint8>> events;
        const char* shown;  // per frame, Space then Alt: 1 held, 0 released
    } rows[] = {
        {{{SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}}, "10 00 00"},
        {{{SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}, {SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}},
         "10 00 10 00 00"},
        {{{SDLK_LALT, DOWN}, {SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}, {SDLK_LALT, UP}}, "11 00"},
    };
    InputTask input;
    ASSERT_TRUE(input.Start());
    for (const auto& row : rows) {
        for (auto [key, type] : row.events) {
            SDL_Event event = {};
            event.type = type;
            event.key.keysym.sym = key;
            ASSERT_EQ(SDL_PushEvent(&event), 0);
        }
        std::string shown;
        for (input.Update(); shown.size() < std::string(row.shown).size(); input.Update()) {
            shown += std::string(shown.empty() ? "" : " ") +
                     "01"[InputTask::pressedKeys[SDLK_SPACE]] +
                     "01"[InputTask::pressedKeys[SDLK_LALT]];
        }
        EXPECT_EQ(shown, row.shown);
    }
    input.Stop();
    InputTask::pressedKeys = keys;
}

// Losing the keyboard pauses a running game only; an Enter pressed with Alt starts no game.
TEST_F(DesktopWorldTest, AwayPausesARunningGameOnlyAndAltEnterStartsNone) {
    keys[SDLK_LALT] = keys[SDLK_RETURN] = 1;
    Frames(10, 0.01);
    keys[SDLK_LALT] = 0;
    Frames(60, 0.01);
    EXPECT_FALSE(world.my_startPressed) << "Alt+Enter, Alt let go first";
    const struct {
        bool inGame, chomped, paused;
    } rows[] = {{false, false, false}, {true, true, false}, {true, false, true}};
    for (const auto& row : rows) {
        if (row.inGame && world.my_mode == MODE_MENU) {
            StartAGame();
        }
        row.chomped ? world.my_sub.GetChomped() : world.my_sub.Reset();
        InputTask::focusLost = true;
        Frame(0.01);
        InputTask::focusLost = false;
        Frames(10, 0.01);
        EXPECT_EQ(world.my_paused, row.paused) << row.inGame << row.chomped;
    }
}

// At 1920 x 1080 the 4 x 3 view fills 1440 x 1080 between bars of 240; the circle is round.
TEST_F(DesktopWorldTest, AWideWindowKeepsTheViewsShapeAndFullScreenKeepsTheTextures) {
    // xvfb-run's X server resets when its last client leaves: this one keeps it up meanwhile.
    Display* keepUp = XOpenDisplay(nullptr);
    world.Stop(), video.Stop();
    VideoUpdate::screenWidth = 1920, VideoUpdate::screenHeight = 1080;
    ASSERT_TRUE(video.Start() && world.Start());
    XCloseDisplay(keepUp);
    auto lit = [](int x, int y) {
        unsigned char rgb[3] = {};
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        return rgb[0] + rgb[1] + rgb[2] > 30;
    };
    world.my_circleZoom.active = false;
    world.DrawGame();
    for (int y : {5, 540, 1075}) {
        EXPECT_EQ(std::vector<bool>({lit(239, y), lit(240, y), lit(1679, y), lit(1680, y)}),
                  std::vector<bool>({false, true, true, false}))
            << "row " << y;
    }
    world.my_circleZoom.ZoomIn(&world.my_camera.x, &world.my_camera.y);
    world.my_circleZoom.radius = 1.0;
    world.my_circleZoom.Update(0.0);
    world.DrawGame();
    // The opening's first lit pixel met walking in from one side towards the centre.
    auto edge = [&](int x, int y, int dx, int dy) {
        for (; !lit(x, y) && (x != 960 || y != 540); x += dx, y += dy) {
        }
        return x + y;
    };
    int across = edge(1919, 540, -1, 0) - edge(0, 540, 1, 0);
    int up = edge(960, 1079, 0, -1) - edge(960, 0, 0, 1);
    EXPECT_NEAR(across, 720, 8) << "360 pixels a unit across";
    EXPECT_NEAR(up, 720, 8) << "and up";
    for (bool fullScreen : {true, false}) {
        ASSERT_TRUE(video.ToggleFullScreen());
        EXPECT_EQ(VideoUpdate::screenFullScreen, fullScreen);
        EXPECT_TRUE(glIsTexture(world.my_textures[IMG_SUB])) << fullScreen;
    }
}

}  // namespace
