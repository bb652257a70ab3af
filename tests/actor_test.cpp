// SPDX-License-Identifier: GPL-3.0-or-later
// How the actors behave at the edges a replayed session rarely reaches, with exact figures, and
// when they sound (the replay does not listen).
#include <SDL_mixer.h>

#include "game/big_fish.h"
#include "game/camera.h"
#include "game/fishie.h"
#include "game/game_constants.h"
#include "game/pool_callbacks.h"
#include "game/seed_weed.h"
#include "game/sub.h"
#include "world_fixture.h"

namespace {

using Figures = std::vector<double>;
using ActorTest = SoundWorldTest;

// At the surface a climb is cancelled and the nose turns down; a falling heading leaves it.
// The replayed games never reach it.
TEST_F(ActorTest, SubAndFishieStayInTheSeaAtTheSurface) {
    Sub sub;
    sub.angle = 20.0;
    sub.UpThrust(0.1);  // the key is held
    sub.Update(0.1);
    EXPECT_EQ(sub.y, 0.0);
    EXPECT_DOUBLE_EQ(sub.angle, 14.0) << "net 60 degrees a second downward";
    Fishie fishie;
    fishie.angle = 10.0;
    fishie.Update(1.0);
    EXPECT_EQ((Figures{fishie.y, fishie.angle}), (Figures{0.0, 5.0}));
    sub.angle = -10.0;
    sub.Update(0.1);
    EXPECT_LT(sub.y, 0.0);
    BigFish fish;
    fish.y = 0.05;
    fish.angle = 20.0;
    world.my_sub.x = 10.0;
    fish.Update(0.1);
    EXPECT_EQ((Figures{fish.y, fish.angle}), (Figures{0.0, 15.5})) << "45 degrees a second down";
    SeedWeed weed;
    weed.y = 0.02;
    weed.angle = 45.0;
    weed.velocity = 1.0;
    weed.wiggleTime = 100.0;
    weed.Update(0.1);
    EXPECT_EQ(weed.y, 0.0) << "a struck weed is put on the surface";
}

// The mouth snaps shut on nothing with a bite, and a fishie goes down with a gulp, heard in a
// game only.
TEST_F(ActorTest, TheBigFishsBiteAndAFishieSwallowedAreHeardOnlyInAGame) {
    BigFish fish;
    fish.mode = BIGFISH_CHASE;
    fish.angle = 15.0;
    fish.x = -0.9 * static_cast<double>(BIGFISH_SIZE);  // the mouth at the origin
    Sub& sub = world.my_sub;
    std::vector<int> faces;
    for (double subX : {0.5, 0.3, 1.0}) {  // chasing; wide open at 0.3; shut again
        sub.x = subX;
        fish.Update(0.0);
        faces.push_back(fish.faceFrame);
    }
    EXPECT_EQ(faces, (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(Mix_Playing(-1), 1) << "the mouth shutting on nothing bites";
    fish.Update(0.0);
    EXPECT_EQ(Mix_Playing(-1), 1) << "once";
    Fishie().Eaten();
    EXPECT_EQ(Mix_Playing(-1), 2) << "a fishie swallowed";
    world.my_mode = MODE_MENU;
    Mix_HaltChannel(-1);
    for (double subX : {0.3, 1.0}) {
        sub.x = subX;
        fish.Update(0.0);
    }
    Fishie().Eaten();
    EXPECT_EQ(Mix_Playing(-1), 0) << "the menu's fish bites and its fishies go down silently";
}

// A struck weed clinks when the player's submarine or the hunting fish strikes it, not when
// the menu's droning submarine or the escorting fish does, and not again within its delay.
TEST_F(ActorTest, AStruckWeedIsHeardOnceAndNotInTheMenu) {
    struct Case {
        const char* striker;
        SUB_STATE sub;
        BIGFISH_MODE fish;
        bool fishStrikes;
        int heard;
    } cases[] = {
        {"the player's submarine", SUB_SWIMMING, BIGFISH_CHASE, false, 1},
        {"the droning submarine", SUB_DRONING, BIGFISH_CHASE, false, 0},
        {"the hunting fish", SUB_DRONING, BIGFISH_CHASE, true, 1},
        {"the escorting fish", SUB_DRONING, BIGFISH_ESCORT, true, 0},
    };
    world.my_frameTime = 0.02;
    for (const Case& c : cases) {
        Mix_HaltChannel(-1);
        SeedWeed weed;
        world.my_sub = Sub();
        world.my_sub.state = c.sub;
        world.my_sub.x = c.fishStrikes ? 1.0 : 0.0;  // ahead of the weed, or on it
        world.my_bigFish.mode = c.fish;
        world.my_bigFish.x = c.fishStrikes ? 0.0 : -2.0;
        world.my_bigFish.y = 0.0;
        for (int frame = 0; frame < 3; ++frame) {  // all within the weed's delay
            weed.x = weed.y = 0.0;
            UpdateSeedWeed(&weed);
        }
        EXPECT_EQ(Mix_Playing(-1), c.heard) << c.striker;
    }
}

// The camera closes eight times the frame's share of the gap, and a long frame lands it on the
// goal rather than past it.
TEST(CameraTest, GlidesAfterItsTargetAndNeverOvershoots) {
    Camera camera;
    double x = 1.0, y = -1.0;
    camera.targetX = &x;
    camera.targetY = &y;
    camera.offsetX = 1.0;
    camera.Update(1.0 / 16.0);
    EXPECT_EQ((Figures{camera.x, camera.y}), (Figures{1.0, -0.5}));
    camera.Update(10.0);
    EXPECT_EQ((Figures{camera.x, camera.y}), (Figures{2.0, -1.0}));
}

}  // namespace
