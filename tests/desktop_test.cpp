// SPDX-License-Identifier: GPL-3.0-or-later
// What a desktop player expects: no tap lost between frames, a pause when the game loses the
// keyboard, and full screen at a key.
#include <GL/gl.h>

#include "engine/input_task.h"
#include "world_fixture.h"

namespace {

class DesktopWorldTest : public WorldFixture {};

// Key and button events a slow frame gathered, and what each following frame's copy shows of
// Space, Alt and the left button: every change in a frame of its own, in order, chords kept
// together. The right button climbs nothing.
TEST_F(DesktopWorldTest, KeyChangesBetweenTwoFramesAreEachShownForAFrame) {
    const Uint8 DOWN = SDL_KEYDOWN, UP = SDL_KEYUP;
    const SDLKey LEFT = SDLK_UNKNOWN, RIGHT = SDLK_LAST;  // stand for the mouse's buttons
    const struct {
        std::vector<std::pair<SDLKey, Uint8>> events;
        const char* shown;  // per frame, Space, Alt, left button: 1 held, 0 released
    } rows[] = {
        {{{SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}}, "100 000 000"},
        {{{SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}, {SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}},
         "100 000 100 000 000"},
        {{{SDLK_LALT, DOWN}, {SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}, {SDLK_LALT, UP}}, "110 000"},
        {{{LEFT, DOWN},
          {SDLK_SPACE, DOWN},
          {LEFT, UP},
          {RIGHT, DOWN},
          {LEFT, DOWN},
          {SDLK_SPACE, UP},
          {LEFT, UP}},
         "101 100 001 000"},
    };
    InputTask input;
    ASSERT_TRUE(input.Start());
    for (const auto& row : rows) {
        for (auto [key, type] : row.events) {
            SDL_Event event = {};
            event.type = type;
            event.key.keysym.sym = key;
            if (key == LEFT || key == RIGHT) {
                event.type = type == DOWN ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
                event.button.button = key == LEFT ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
            }
            ASSERT_EQ(SDL_PushEvent(&event), 0);
        }
        std::string shown;
        for (input.Update(); shown.size() < std::string(row.shown).size(); input.Update()) {
            shown += std::string(shown.empty() ? "" : " ") +
                     "01"[InputTask::pressedKeys[SDLK_SPACE]] +
                     "01"[InputTask::pressedKeys[SDLK_LALT]] + "01"[InputTask::pointerHeld];
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

// Full screen and back in place: the pictures stay loaded.
TEST_F(DesktopWorldTest, FullScreenAndBackKeepsTheTextures) {
    for (bool fullScreen : {true, false}) {
        ASSERT_TRUE(video.ToggleFullScreen());
        EXPECT_EQ(VideoUpdate::screenFullScreen, fullScreen);
        EXPECT_TRUE(glIsTexture(world.my_textures[IMG_SUB])) << fullScreen;
    }
}

}  // namespace
