// SPDX-License-Identifier: GPL-3.0-or-later
// The world the actors and the pool callbacks reach through the game, with its real sounds
// loaded on SDL's dummy driver and no window.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "engine/settings.h"
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

// The same world with the game's settings, driven frame by frame with a key table and a frame
// time of the test's own, from the state the program has at its start.
class DrivenWorldTest : public SoundWorldTest {
protected:
    Settings settings;
    std::uint8_t keys[SDLK_LAST] = {};

    void SetUp() override;
    void TearDown() override;
    // The step of the ocean, then the keys of the current screen, as a frame runs them.
    void Frame(double dT);
};
