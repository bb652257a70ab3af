// SPDX-License-Identifier: GPL-3.0-or-later
// How the actors move and when they sound, with exact figures: the game's feel at the edges
// that a replayed session rarely reaches.
#include <SDL_mixer.h>

#include <cmath>

#include "game/big_fish.h"
#include "game/billboard.h"
#include "game/camera.h"
#include "game/circle_zoom.h"
#include "game/fishie.h"
#include "game/game_constants.h"
#include "game/seed_weed.h"
#include "game/sub.h"
#include "platform/random.h"
#include "sound_world.h"

namespace {

using Figures = std::vector<double>;
using ActorTest = SoundWorldTest;

TEST_F(ActorTest, SubBoostsPitchesAndStopsAtTheSurface) {
    Sub sub;
    Figures targets;
    for (int i = 0; i < 3; ++i) {
        sub.SpeedBoost();
        targets.push_back(sub.targetSpeed);
    }
    EXPECT_EQ(targets, (Figures{1.75, 2.125, 2.3125})) << "each boost halves the gap to 2.5";
    sub.UpThrust(0.25);
    EXPECT_DOUBLE_EQ(sub.angle, 15.0);
    sub.UpThrust(1.0);
    EXPECT_EQ(sub.angle, SUB_MAX_ANGLE);
    sub.DownThrust(10.0);
    EXPECT_EQ(sub.angle, SUB_MIN_ANGLE);

    Sub surfaced;
    surfaced.angle = 20.0;
    surfaced.UpThrust(0.1);
    surfaced.Update(0.1);
    EXPECT_EQ(surfaced.y, 0.0) << "the climb is cancelled at the surface";
    EXPECT_DOUBLE_EQ(surfaced.angle, 14.0) << "and the nose turns down 60 degrees a second net";
    EXPECT_NEAR(surfaced.x, std::cos(14 * PI / 180) * 0.1, 1e-12);
    surfaced.angle = -10.0;
    surfaced.Update(0.1);
    EXPECT_LT(surfaced.y, 0.0) << "a falling heading leaves the surface";
}

TEST_F(ActorTest, StruckSubRecoversAndTheMenuSubDrones) {
    Sub sub;
    sub.targetSpeed = sub.velocity = 2.0;
    sub.Collision();
    sub.Update(1.0);
    EXPECT_EQ((Figures{sub.velocity, sub.targetSpeed}), (Figures{0.5, 1.5}));
    Sub::myDroneRise = true;
    Sub::my_droneTimer = 0.0;
    Sub drone;
    drone.state = SUB_DRONING;
    drone.y = -5.0;
    drone.Update(0.25);
    EXPECT_DOUBLE_EQ(drone.angle, 15.0);
    drone.Update(1.75);
    EXPECT_FALSE(Sub::myDroneRise) << "two seconds up, then down";
    EXPECT_DOUBLE_EQ(drone.angle, -30.0);
}

TEST_F(ActorTest, FishieWandersAndSwallowedHomesInWithoutOvershooting) {
    Fishie fishie;
    fishie.y = -1.0;
    Figures angles;
    for (double dT : {0.5, 0.5, 3.0}) {
        fishie.Update(dT);
        angles.push_back(fishie.angle);
    }
    EXPECT_EQ(angles, (Figures{2.5, 5.0, 15.0}));
    EXPECT_FALSE(fishie.rising);

    Sub sub;
    sub.y = 0.5;
    Fishie swallowed;
    swallowed.x = 1.0;
    swallowed.state = FISHIE_SWALLOWED;
    swallowed.velocity = 100.0;
    swallowed.swallowTarget = &sub;
    swallowed.Update(1.0);
    EXPECT_EQ((Figures{swallowed.x, swallowed.y}), (Figures{0.0, 0.5}));
    EXPECT_EQ(swallowed.state, FISHIE_SWALLOWED) << "arrival is judged before the move";
    swallowed.Update(0.01);
    EXPECT_EQ(swallowed.state, FISHIE_EATEN);
    EXPECT_TRUE(swallowed.killed);
    EXPECT_EQ(world.my_score, 1);
}

// An eaten fishie always scores; it sounds one of the collect sounds only in a game with
// effects on, and only then draws a random number to choose which.
TEST_F(ActorTest, EatenFishieSoundsOnlyInAGameWithEffectsOn) {
    struct Case {
        MODES mode;
        bool effects;
        int playing;
    } cases[] = {{MODE_CHASE, true, 1}, {MODE_MENU, true, 0}, {MODE_CHASE, false, 0}};
    for (const Case& c : cases) {
        Mix_HaltChannel(-1);
        world.my_mode = c.mode;
        WorldTask::my_playSounds = c.effects;
        tobrin::srand(7);
        int first = tobrin::rand();
        tobrin::srand(7);
        Fishie fishie;
        fishie.Eaten();
        EXPECT_EQ(Mix_Playing(-1), c.playing) << c.mode << c.effects;
        EXPECT_EQ(tobrin::rand() == first, c.playing == 0) << c.mode << c.effects;
    }
    EXPECT_EQ(world.my_score, 3);
}

class BigFishTest : public ActorTest {
protected:
    BigFish fish;
    Sub& sub = world.my_sub;
    void MouthAtOrigin() {
        fish.angle = 15.0;
        fish.x = -0.9 * static_cast<double>(BIGFISH_SIZE);
        fish.y = 0.0;
    }
};

TEST_F(BigFishTest, ChompDistanceIsFromTheMouthBelowTheSnout) {
    MouthAtOrigin();
    EXPECT_NEAR(fish.ChompDistance(), 0.0, 1e-15);
    sub.y = 1.0;
    fish.x = fish.angle = 0.0;
    double m = -15.0 * 0.017453292522222223;
    EXPECT_DOUBLE_EQ(fish.ChompDistance(), std::hypot(0.36000000536441806 * std::cos(m),
                                                      1.0 - 0.36000000536441806 * std::sin(m)));
    EXPECT_EQ(static_cast<double>(BIGFISH_CHOMP_DISTANCE), 0.20000000298023224);
}

TEST_F(BigFishTest, SteersOntoTheTargetAngleAndNeverPastIt) {
    fish.mode = BIGFISH_CHASE;
    sub.x = 10.0;
    fish.angle = 5.0;
    fish.Update(1.0);
    EXPECT_EQ(fish.angle, 0.0);
    fish.angle = -3.0;
    fish.Update(0.1);
    EXPECT_DOUBLE_EQ(fish.angle, -3.0 + fish.turnSpeed * 0.1 - 0.1 * 0.1 * 0.1);
    fish.Reset();
    fish.mode = BIGFISH_CHASE;
    sub.x = 10.0 * std::cos(20 * PI / 180);
    sub.y = 10.0 * std::sin(20 * PI / 180);
    fish.x = fish.y = 0.0;
    fish.angle = -170.0;
    fish.Update(0.5);
    EXPECT_DOUBLE_EQ(fish.angle, -165.0) << "the difference below -180 turns the longer way";
}

TEST_F(BigFishTest, FaceSpeedAndDepthFollowWhereTheSubIs) {
    fish.mode = BIGFISH_CHASE;
    sub.y = -2.0;
    fish.x = 1.0;
    fish.y = -1.0;
    fish.Update(0.1);  // ahead of the sub: slows, looks ahead, drifts to its depth
    EXPECT_EQ(fish.faceFrame, 0);
    EXPECT_DOUBLE_EQ(fish.velocity, 1.45);
    EXPECT_DOUBLE_EQ(fish.y, -1.0 + (-2.0 + 1.0) * 0.1 * 0.1);
    sub.y = 0.0;
    MouthAtOrigin();
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
    fish.mode = BIGFISH_ESCORT;
    sub.x = 1.5;
    fish.Update(0.0);
    EXPECT_EQ(fish.targetSpeed, BIGFISH_ESCORT_SLOW);
    sub.x = 2.25;
    fish.Update(0.0);
    EXPECT_EQ(fish.targetSpeed, BIGFISH_ESCORT_FAST);
}

TEST_F(ActorTest, SeedWeedDriftsDampedAndTwitchesAfterItsRest) {
    SeedWeed once, twice;
    once.velocity = twice.velocity = 2.0;
    once.y = twice.y = -3.0;
    once.wiggleTime = twice.wiggleTime = 100.0;
    once.Update(1.0);
    twice.Update(0.5);
    twice.Update(0.5);
    EXPECT_DOUBLE_EQ(once.velocity, 2.0 * 0.333);
    EXPECT_DOUBLE_EQ(twice.velocity, once.velocity) << "however the time is split";
    tobrin::srand(3);
    SeedWeed rest;
    rest.y = -1.0;
    rest.wiggleTime = 1.0;
    rest.Update(1.0);
    EXPECT_EQ(rest.velocity, 0.0) << "a rest of exactly its time does not twitch";
    rest.Update(0.001);
    EXPECT_GT(rest.velocity, 0.0);
    EXPECT_EQ(rest.wiggleTimer, 0.0);
    SeedWeed surfaced;
    surfaced.y = 0.02;
    surfaced.angle = 45.0;
    surfaced.velocity = 1.0;
    surfaced.wiggleTime = 100.0;
    surfaced.Update(0.1);
    EXPECT_EQ(surfaced.y, 0.0);
}

TEST(VisualsTest, BillboardCameraAndCircleGlideAsTimed) {
    Billboard board;
    board.destinationX = 2.0;
    board.Update(1.0);
    EXPECT_DOUBLE_EQ(board.x, 1.0) << "halves the distance each second";
    Camera camera;
    double x = 1.0, y = -1.0;
    camera.targetX = &x;
    camera.targetY = &y;
    camera.offsetX = 1.0;
    camera.Update(1.0 / 16.0);
    EXPECT_DOUBLE_EQ(camera.x, 1.0);
    camera.Update(10.0);
    EXPECT_EQ((Figures{camera.x, camera.y}), (Figures{2.0, -1.0})) << "never past the goal";
    CircleZoom zoom;
    zoom.speed = 5.0;
    zoom.radius = 4.0;
    zoom.ZoomIn(&x, &y);
    for (int i = 0; i < 8; ++i) {
        EXPECT_GT(zoom.radius, 0.0);
        zoom.Update(0.1);
    }
    EXPECT_EQ(zoom.radius, 0.0);
    EXPECT_TRUE(zoom.active) << "closed, it holds the screen black";
    zoom.ZoomOut(nullptr, nullptr);
    zoom.Update(1.01);
    EXPECT_EQ(zoom.radius, CIRCLEZOOM_MAXIMUM);
    EXPECT_FALSE(zoom.active);
}

}  // namespace
