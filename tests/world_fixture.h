// SPDX-License-Identifier: GPL-3.0-or-later
// The world the actors and the pool callbacks reach through the game: with its real sounds on
// SDL's dummy driver; driven frame by frame with a key table and a frame time of the test's
// own; and drawn into a real window.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "engine/kernel.h"
#include "engine/settings.h"
#include "engine/video_update.h"
#include "game/game.h"
#include "game/world_task.h"
#include "test_support.h"

class SoundWorldTest : public InTempDir {
protected:
    Game game;
    WorldTask world;

    void SetUp() override;
    void TearDown() override;
};

// From the state the program has at its start, with the game's settings.
class DrivenWorldTest : public SoundWorldTest {
protected:
    Settings settings;
    std::uint8_t keys[SDLK_LAST] = {};
    bool drawn = false;

    void SetUp() override;
    void TearDown() override;
    // The step of the ocean, the picture when drawn, then the keys of the current screen.
    void Frame(double dT);
    void Frames(int count, double dT = 0.01);
    // From the menu into a chase, with Enter held until the game starts.
    void StartAGame();
};

// In a window, 320 x 240 unless the test says otherwise, with the world's pictures loaded and
// each frame drawn.
class WorldFixture : public DrivenWorldTest {
protected:
    Kernel kernel;
    VideoUpdate video;
    int windowWidth = 320;
    int windowHeight = 240;

    void SetUp() override;
    void TearDown() override;
};
