// The world the actors and the pool callbacks reach through the game, with its real sounds
// loaded on SDL's dummy driver and no window.
#pragma once

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
