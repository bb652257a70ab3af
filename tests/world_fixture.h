// SPDX-License-Identifier: GPL-3.0-or-later
// A started world in a real window, driven frame by frame with a key table and a frame time
// of the test's choosing.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "engine/kernel.h"
#include "engine/settings.h"
#include "engine/video_update.h"
#include "game/game.h"
#include "game/world_task.h"
#include "test_support.h"

class WorldFixture : public InTempDir {
protected:
    Kernel* kernel = nullptr;
    Settings* settings = nullptr;
    VideoUpdate video;
    Game game;
    WorldTask world;
    std::uint8_t keys[SDLK_LAST] = {};
    bool started = false;

    void SetUp() override;
    void TearDown() override;
    void Frame(double dT);
    void Frames(int count, double dT);
    // From the menu into a chase, with Enter held until the game starts.
    void StartAGame();
};
