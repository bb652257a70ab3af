// SPDX-License-Identifier: GPL-3.0-or-later
// What a desktop player expects: no tap lost between frames, a pause when the game loses the
// keyboard, and full screen at a key.
#include <GL/gl.h>
#include <dlfcn.h>

#include <cstdlib>
#include <memory>

#include "engine/input_task.h"
#include "game/controls.h"
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
        INPUT_DEVICE used;  // the control pressed last
    } rows[] = {
        {{{SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}}, "100 000 000", INPUT_KEYS},
        {{{SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}, {SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}},
         "100 000 100 000 000",
         INPUT_KEYS},
        {{{SDLK_LALT, DOWN}, {SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}, {SDLK_LALT, UP}},
         "110 000",
         INPUT_KEYS},
        {{{LEFT, DOWN},
          {SDLK_SPACE, DOWN},
          {LEFT, UP},
          {RIGHT, DOWN},
          {LEFT, DOWN},
          {SDLK_SPACE, UP},
          {LEFT, UP}},
         "101 100 001 000",
         INPUT_MOUSE},
        {{{SDLK_SPACE, DOWN}, {SDLK_SPACE, UP}}, "100 000", INPUT_KEYS},
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
        EXPECT_EQ(InputTask::lastUsed, row.used) << row.shown;
    }
    input.Stop();
    InputTask::pressedKeys = keys;
}

// The left button or a finger held starts a game from the menu and then climbs, as Enter and
// Space do.
TEST_F(DesktopWorldTest, AHeldPointerStartsAGameAndClimbs) {
    InputTask::pointerHeld = true;
    Frames(150, 0.01);
    EXPECT_NE(world.my_mode, MODE_MENU);
    EXPECT_TRUE(world.subGoingUp);
    InputTask::pointerHeld = false;
    Frame(0.01);
    EXPECT_FALSE(world.subGoingUp);
}

// Losing the keyboard pauses a running game only; an Enter pressed with Alt starts no game.
TEST_F(DesktopWorldTest, AwayPausesARunningGameOnlyAndAltEnterStartsNone) {
    keys[SDLK_LALT] = keys[SDLK_RETURN] = 1;
    Frames(10, 0.01);
    keys[SDLK_LALT] = 0;
    Frames(60, 0.01);
    EXPECT_FALSE(world.my_startPressed) << "Alt+Enter, Alt let go first";
    keys[SDLK_RETURN] = 0;
    const struct {
        bool inGame, chomped, paused;
    } rows[] = {{false, false, false}, {true, true, false}, {true, false, true}};
    for (const auto& row : rows) {
        if (row.inGame && world.my_mode == MODE_MENU) {
            StartAGame();
        }
        ASSERT_EQ(world.my_mode != MODE_MENU, row.inGame);
        row.chomped ? world.my_sub.GetChomped() : world.my_sub.Reset();
        InputTask::focusLost = true;
        Frame(0.01);
        InputTask::focusLost = false;
        Frames(10, 0.01);
        EXPECT_EQ(world.my_paused, row.paused) << row.inGame << row.chomped;
    }
}

// A pad of SDL2's own making for tests, attached in this process before the SDL 1.2 API opens
// its joysticks: sdl12-compat lists it as it lists a real one.
class VirtualPad {
public:
    bool Attach() {
        sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        auto init = Find<int (*)(Uint32)>("SDL_InitSubSystem");
        auto attach = Find<int (*)(int, int, int, int)>("SDL_JoystickAttachVirtual");
        auto open = Find<void* (*)(int)>("SDL_JoystickOpen");
        // SDL drops a pad's events while none of the process's windows has the focus, and tests
        // side by side on one X server take it from each other: these tests tell the pads
        // themselves whether the window has it.
        auto hint = Find<int (*)(const char*, const char*)>("SDL_SetHint");
        if (hint) {
            hint("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1");
        }
        const int CONTROLLER = 1, AXES = 6, BUTTONS = 15, HATS = 0;
        index = init && attach && open && init(SDL_INIT_JOYSTICK) == 0
                    ? attach(CONTROLLER, AXES, BUTTONS, HATS)
                    : -1;
        joystick = index >= 0 ? open(index) : nullptr;
        return joystick != nullptr;
    }
    void Press(int button, bool held) {
        Find<int (*)(void*, int, Uint8)>("SDL_JoystickSetVirtualButton")(joystick, button, held);
    }
    void Detach() {
        if (joystick) {
            Find<void (*)(void*)>("SDL_JoystickClose")(joystick);
            Find<int (*)(int)>("SDL_JoystickDetachVirtual")(index);
            joystick = nullptr;
        }
    }
    ~VirtualPad() { Detach(); }

private:
    void* sdl2 = nullptr;
    void* joystick = nullptr;
    int index = -1;
    template <typename F>
    F Find(const char* name) {
        return sdl2 ? reinterpret_cast<F>(dlsym(sdl2, name)) : nullptr;
    }
};

// A real pad's buttons through the SDL 1.2 API, in the controller order sdl12-compat gives a
// pad SDL2 knows and in the pad's own order: the bottom face button starts a game and climbs
// with a burst at each press and release, the pause button pauses, Back never quits, and
// nothing counts while the window lacks the focus.
TEST_F(DesktopWorldTest, APadStartsClimbsAndPausesInEachButtonOrder) {
    VirtualPad pad;
    ASSERT_TRUE(pad.Attach()) << "SDL2's virtual joysticks (libsdl2-2.0-0 2.24 or later)";
    const struct {
        bool raw;
        PORT_PAD_ORDER order;
        int climb, pause, back;  // buttons of the virtual pad in that order
        bool backClimbs;
    } rows[] = {{false, PORT_PAD_CONTROLLER, 0, 6, 4, false}, {true, PORT_PAD_RAW, 0, 14, 4, true}};
    for (const auto& row : rows) {
        unsetenv("SDL12COMPAT_USE_GAME_CONTROLLERS");
        InputTask::pads.Open(row.raw);
        ASSERT_EQ(InputTask::pads.order, row.order);
        ASSERT_EQ(InputTask::pads.pads.size(), 1u) << row.raw;
        auto hold = [&](int button, bool held, bool focused = true) {
            pad.Press(button, held);
            InputTask::pads.Read(focused);
            Frames(5, 0.01);
        };
        hold(row.climb, true);
        hold(row.climb, false);
        Frames(100, 0.01);
        ASSERT_NE(world.my_mode, MODE_MENU) << "the bottom face button starts a game";
        double speed = world.my_sub.velocity;
        hold(row.climb, true);
        EXPECT_TRUE(world.subGoingUp && world.my_sub.velocity > speed) << "a burst, and up";
        hold(row.climb, false);
        hold(row.climb, true, false);
        EXPECT_FALSE(world.subGoingUp) << "away from the window a pad counts nothing";
        hold(row.climb, false);
        hold(row.back, true);
        EXPECT_EQ(world.subGoingUp, row.backClimbs) << row.raw;
        EXPECT_FALSE(InputTask::quitRequested);
        hold(row.back, false);
        hold(row.pause, true);
        hold(row.pause, false);
        EXPECT_TRUE(world.my_paused) << row.raw;
        hold(row.pause, true);
        hold(row.pause, false);
        EXPECT_FALSE(world.my_paused) << row.raw;
        InputTask::pads.Close();
        world.SetupMenu();
    }
    unsetenv("SDL12COMPAT_USE_GAME_CONTROLLERS");
}

// Pads come and go: one pulled out mid-game pauses it, as going away does, and one plugged in
// while the menu shows is picked up there. Back quits nothing meanwhile.
TEST_F(DesktopWorldTest, APadPulledOutPausesAndOnePluggedInIsPickedUpInTheMenu) {
    unsetenv("SDL12COMPAT_USE_GAME_CONTROLLERS");
    auto pad = std::make_unique<VirtualPad>();
    ASSERT_TRUE(pad->Attach());
    InputTask input;
    ASSERT_TRUE(input.Start());
    ASSERT_EQ(InputTask::pads.pads.size(), 1u);
    std::uint8_t* inputsOwn = InputTask::pressedKeys;
    InputTask::pressedKeys = keys;  // the fixture's keys drive the world
    StartAGame();
    pad->Press(4, true);  // Back, read as the frame reads it, with the window's focus
    TakeKeyboardFocus();
    input.Update();
    EXPECT_FALSE(InputTask::quitRequested) << "a pad never quits";
    pad->Press(4, false);
    pad->Detach();
    input.Update();
    InputTask::pressedKeys = keys;
    Frame(0.01);
    EXPECT_TRUE(world.my_paused) << "pulled out mid-game";
    EXPECT_TRUE(InputTask::pads.pads.empty());
    world.SetupMenu();
    Frames(10, 0.01);
    EXPECT_TRUE(InputTask::pads.pads.empty());
    pad = std::make_unique<VirtualPad>();
    ASSERT_TRUE(pad->Attach());
    Frame(0.01);
    EXPECT_EQ(InputTask::pads.pads.size(), 1u) << "plugged in while the menu shows";
    EXPECT_EQ(LinesStartingWith("Pad 0: Virtual Controller"), 2);
    pad.reset();
    InputTask::pressedKeys = inputsOwn;
    input.Stop();
    InputTask::pressedKeys = keys;
    unsetenv("SDL12COMPAT_USE_GAME_CONTROLLERS");
}

// The browser's standard order and a player's own pause button, one layer lower.
TEST(PadLayoutTest, TablesPerOrderAndAPauseButtonOfThePlayersChoice) {
    const struct {
        PORT_PAD_ORDER order;
        int buttons, pauseButton;
        std::uint32_t climb, start, watch;
        int pause;
    } rows[] = {
        {PORT_PAD_STANDARD, 17, -1, 0x10FF, 0x201, 0x100, 9},
        {PORT_PAD_CONTROLLER, 22, -1, 0xE0F, 0x41, 0x10, 6},
        {PORT_PAD_RAW, 4, -1, 0x7, 0xF, 0x0, 3},
        {PORT_PAD_RAW, 1, -1, 0x1, 0x1, 0x0, -1},
        {PORT_PAD_STANDARD, 17, 3, 0x10F7, 0x209, 0x100, 3},
        {PORT_PAD_CONTROLLER, 22, 4, 0xE0F, 0x51, 0x0, 4},
    };
    for (const auto& row : rows) {
        PadLayout layout = LayoutFor(row.order, row.buttons, row.pauseButton);
        EXPECT_EQ(layout.climb, row.climb) << row.order << " " << row.buttons;
        EXPECT_EQ(layout.start, row.start) << row.order << " " << row.buttons;
        EXPECT_EQ(layout.watch, row.watch) << row.order << " " << row.buttons;
        EXPECT_EQ(layout.pause, row.pause) << row.order << " " << row.buttons;
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
