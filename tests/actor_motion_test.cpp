// How the actors move, with exact figures: the game's balance and feel.
#include <SDL_mixer.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "game/big_fish.h"
#include "game/billboard.h"
#include "game/circle_zoom.h"
#include "game/fishie.h"
#include "game/game.h"
#include "game/game_constants.h"
#include "game/seed_weed.h"
#include "game/sub.h"
#include "game/world_task.h"
#include "platform/random.h"
#include "sound_world.h"

namespace {

// Seeds the generator so that its next number is the given one.
void SeedSoNextRandIs(int wanted) {
    for (unsigned seed = 0;; ++seed) {
        tobrin::srand(seed);
        if (tobrin::rand() == wanted) {
            tobrin::srand(seed);
            return;
        }
    }
}

class ActorTest : public SoundWorldTest {
protected:
    static int EffectsPlaying() { return Mix_Playing(-1); }
};

// ---- Submarine ----

using SubTest = ActorTest;

TEST_F(SubTest, BoostsHalveTheGapToTwoAndAHalf) {
    Sub sub;
    std::vector<double> targets;
    for (int i = 0; i < 4; ++i) {
        sub.SpeedBoost();
        targets.push_back(sub.targetSpeed);
    }
    EXPECT_EQ(targets, (std::vector<double>{1.75, 2.125, 2.3125, 2.40625}));
    for (int i = 0; i < 100; ++i) {
        sub.SpeedBoost();
    }
    EXPECT_LE(sub.targetSpeed, 2.5);
}

TEST_F(SubTest, PitchSweepsSixtyDegreesASecondWithinThirty) {
    Sub sub;
    sub.UpThrust(0.25);
    EXPECT_DOUBLE_EQ(sub.angle, 15.0);
    sub.UpThrust(0.25);
    EXPECT_DOUBLE_EQ(sub.angle, 30.0);
    sub.UpThrust(1.0);
    EXPECT_EQ(sub.angle, SUB_MAX_ANGLE);
    sub.DownThrust(0.5);
    EXPECT_DOUBLE_EQ(sub.angle, 0.0);
    sub.DownThrust(10.0);
    EXPECT_EQ(sub.angle, SUB_MIN_ANGLE);
}

TEST_F(SubTest, MovesAlongItsHeading) {
    Sub sub;
    sub.y = -2.0;
    sub.angle = 30.0;
    sub.Update(0.5);
    EXPECT_NEAR(sub.x, std::cos(30 * PI / 180) * 0.5, 1e-12);
    EXPECT_NEAR(sub.y, -2.0 + 0.25, 1e-9);
}

TEST_F(SubTest, AtTheSurfaceTheClimbIsCancelledAndTheNoseTurnsDown) {
    Sub sub;
    sub.y = 0.0;
    sub.angle = 20.0;
    sub.UpThrust(0.1);  // the key is held
    sub.Update(0.1);
    EXPECT_EQ(sub.y, 0.0);
    EXPECT_NEAR(sub.x, std::cos(14 * PI / 180) * 0.1, 1e-12) << "across with the turned heading";
    EXPECT_DOUBLE_EQ(sub.angle, 14.0) << "net 60 degrees a second downward";
}

TEST_F(SubTest, AtTheSurfaceALevelOrFallingHeadingMovesNormally) {
    Sub sub;
    sub.y = 0.0;
    sub.angle = -10.0;
    sub.Update(0.1);
    EXPECT_LT(sub.y, 0.0);
    EXPECT_EQ(sub.angle, -10.0);
}

TEST_F(SubTest, StepCrossingTheSurfaceStandsAndTheNextStopsTheRise) {
    Sub sub;
    sub.y = -0.01;
    sub.angle = 30.0;
    sub.Update(0.1);
    EXPECT_NEAR(sub.y, 0.04, 1e-9);
    double above = sub.y;
    sub.Update(0.1);
    EXPECT_EQ(sub.y, above);
}

TEST_F(SubTest, AfterACollisionTheSpeedGrowsBackWhileTheTargetSinks) {
    Sub sub;
    sub.targetSpeed = 2.0;
    sub.velocity = 2.0;
    sub.Collision();
    EXPECT_EQ(sub.velocity, 0.0);
    EXPECT_EQ(sub.targetSpeed, 2.0);
    sub.Update(1.0);
    EXPECT_DOUBLE_EQ(sub.velocity, 0.5);
    EXPECT_DOUBLE_EQ(sub.targetSpeed, 1.5);
    for (int i = 0; i < 10; ++i) {
        sub.Update(1.0);
    }
    EXPECT_EQ(sub.targetSpeed, SUB_STANDARD_SPEED);
    EXPECT_EQ(sub.velocity, SUB_STANDARD_SPEED);
}

TEST_F(SubTest, ResetKeepsPlaceAndHeadingAndAZeroStepChangesNothing) {
    Sub sub;
    sub.x = 3.0;
    sub.y = -1.0;
    sub.angle = 12.0;
    sub.targetSpeed = 2.0;
    sub.GetChomped();
    sub.Reset();
    EXPECT_EQ(sub.x, 3.0);
    EXPECT_EQ(sub.y, -1.0);
    EXPECT_EQ(sub.angle, 12.0);
    EXPECT_EQ(sub.velocity, 1.0);
    EXPECT_EQ(sub.targetSpeed, 1.0);
    EXPECT_EQ(sub.state, SUB_SWIMMING);
    sub.Update(0.0);
    EXPECT_EQ(sub.x, 3.0);
    EXPECT_EQ(sub.y, -1.0);
    EXPECT_EQ(sub.angle, 12.0);
}

TEST_F(SubTest, DronesUpAndDownTwoSecondsEachAndSwapsEveryStepAfterALongOne) {
    Sub sub;
    sub.state = SUB_DRONING;
    sub.y = -5.0;
    Sub::myDroneRise = true;
    Sub::my_droneTimer = 0.0;
    sub.Update(0.25);
    EXPECT_DOUBLE_EQ(sub.angle, 15.0);
    sub.Update(1.75);
    EXPECT_FALSE(Sub::myDroneRise);  // two seconds reached: diving now
    EXPECT_DOUBLE_EQ(sub.angle, -30.0);

    Sub::my_droneTimer = 0.0;
    Sub::myDroneRise = true;
    sub.Update(5.0);  // one very long step
    EXPECT_FALSE(Sub::myDroneRise);
    EXPECT_DOUBLE_EQ(Sub::my_droneTimer, 3.0);
    sub.Update(0.01);
    EXPECT_TRUE(Sub::myDroneRise) << "still at two or more: swaps again";
    EXPECT_NEAR(Sub::my_droneTimer, 1.01, 1e-12);
    sub.Update(0.01);
    EXPECT_TRUE(Sub::myDroneRise);
}

TEST_F(SubTest, SwimmingSubDoesNotDrone) {
    Sub sub;
    sub.y = -5.0;
    sub.Update(0.5);
    EXPECT_EQ(sub.angle, 0.0);
}

// ---- Fishie ----

using FishieTest = ActorTest;

TEST_F(FishieTest, WandersUpToFifteenDegreesAndBack) {
    Fishie fishie;
    fishie.y = -1.0;
    fishie.Update(3.0);
    EXPECT_EQ(fishie.angle, 15.0);
    EXPECT_FALSE(fishie.rising);
    EXPECT_DOUBLE_EQ(fishie.x, 1.5) << "the level start moves it straight on";
    fishie.Update(6.0);
    EXPECT_EQ(fishie.angle, -15.0);
    EXPECT_TRUE(fishie.rising);

    Fishie steady;
    steady.y = -1.0;
    std::vector<double> angles;
    for (int i = 0; i < 3; ++i) {
        steady.Update(0.5);
        angles.push_back(steady.angle);
    }
    EXPECT_EQ(angles, (std::vector<double>{2.5, 5.0, 7.5}));
    EXPECT_EQ(steady.velocity, FISHIE_STANDARD_VELOCITY);
}

TEST_F(FishieTest, AtTheSurfaceItKeepsItsHeightAndTurnsDownByFiveNet) {
    Fishie fishie;
    fishie.angle = 10.0;
    fishie.Update(1.0);
    EXPECT_EQ(fishie.y, 0.0);
    EXPECT_GT(fishie.x, 0.0);
    EXPECT_DOUBLE_EQ(fishie.angle, 5.0);
}

TEST_F(FishieTest, SwallowedAtTheTargetItIsEatenWithoutMoving) {
    Sub sub;
    sub.x = 1.0;
    sub.y = -1.0;
    Fishie fishie;
    fishie.x = 1.0;
    fishie.y = -1.0;
    fishie.state = FISHIE_SWALLOWED;
    fishie.velocity = FISHIE_SWALLOW_VELOCITY;
    fishie.swallowTarget = &sub;
    fishie.Update(0.1);
    EXPECT_EQ(fishie.state, FISHIE_EATEN);
    EXPECT_TRUE(fishie.killed);
    EXPECT_EQ(fishie.angle, 0.0) << "no spin without a move";
    EXPECT_EQ(world.my_score, 1);
}

TEST_F(FishieTest, LeftBehindTheSubItIsEatenAfterOneHomingMove) {
    Sub sub;
    sub.x = 1.0;
    Fishie fishie;
    fishie.state = FISHIE_SWALLOWED;
    fishie.velocity = 0.0;
    fishie.swallowTarget = &sub;
    fishie.Update(0.1);
    EXPECT_DOUBLE_EQ(fishie.velocity, 0.4);
    EXPECT_DOUBLE_EQ(fishie.x, 0.04);
    EXPECT_DOUBLE_EQ(fishie.angle, 144.0);
    EXPECT_EQ(fishie.state, FISHIE_EATEN);
}

TEST_F(FishieTest, HomingNeverOvershootsOnEitherAxis) {
    Sub sub;
    sub.x = 0.0;
    sub.y = 0.5;
    Fishie fishie;
    fishie.x = 1.0;
    fishie.state = FISHIE_SWALLOWED;
    fishie.velocity = 100.0;
    fishie.swallowTarget = &sub;
    fishie.Update(1.0);
    EXPECT_EQ(fishie.x, 0.0);
    EXPECT_EQ(fishie.y, 0.5);
    EXPECT_EQ(fishie.state, FISHIE_SWALLOWED) << "judged from before the move";
    fishie.Update(0.01);
    EXPECT_EQ(fishie.state, FISHIE_EATEN);
}

TEST_F(FishieTest, WithoutATargetItIsEatenAtOnce) {
    Fishie fishie;
    fishie.state = FISHIE_SWALLOWED;
    fishie.velocity = 0.0;
    fishie.Update(0.5);
    EXPECT_EQ(fishie.state, FISHIE_EATEN);
    EXPECT_DOUBLE_EQ(fishie.velocity, 2.0);
    EXPECT_EQ(world.my_score, 1);
}

TEST_F(FishieTest, EatenDuringAGameSoundsOnceAndDrawsOneRandomNumber) {
    tobrin::srand(7);
    tobrin::rand();
    int afterOne = tobrin::rand();
    tobrin::srand(7);
    Fishie fishie;
    fishie.Eaten();
    EXPECT_EQ(EffectsPlaying(), 1);
    EXPECT_EQ(tobrin::rand(), afterOne);
}

TEST_F(FishieTest, EatenInTheMenuScoresSilentlyAndDrawsNoRandomNumber) {
    world.my_mode = MODE_MENU;
    tobrin::srand(7);
    int first = tobrin::rand();
    tobrin::srand(7);
    Fishie fishie;
    fishie.Eaten();
    EXPECT_EQ(world.my_score, 1);
    EXPECT_EQ(EffectsPlaying(), 0);
    EXPECT_EQ(tobrin::rand(), first);
}

TEST_F(FishieTest, EatenWithEffectsOffIsSilent) {
    WorldTask::my_playSounds = false;
    Fishie fishie;
    fishie.Eaten();
    EXPECT_EQ(EffectsPlaying(), 0);
    EXPECT_EQ(world.my_score, 1);
}

TEST_F(FishieTest, ResetMakesItAFreshRedFishWorthOnePoint) {
    Fishie fishie;
    fishie.x = 2.0;
    fishie.state = FISHIE_EATEN;
    fishie.angle = 99.0;
    fishie.value = 5;
    fishie.Reset();
    EXPECT_EQ(fishie.x, 2.0);
    EXPECT_EQ(fishie.state, FISHIE_SWIMMING);
    EXPECT_EQ(fishie.angle, 0.0);
    EXPECT_EQ(fishie.value, 1);
    EXPECT_EQ(fishie.swallowTarget, nullptr);
    fishie.SetType(static_cast<FISHIE_TYPE>(3));
    EXPECT_EQ(fishie.value, 1);
}

// ---- Big fish ----

class BigFishTest : public ActorTest {
protected:
    BigFish fish;
    Sub& sub = world.my_sub;
    // Places the fish so that its mouth, 15 degrees below the heading, is at the origin.
    void MouthAtOrigin() {
        fish.angle = 15.0;
        fish.x = -0.9 * static_cast<double>(BIGFISH_SIZE);
        fish.y = 0.0;
    }
};

TEST_F(BigFishTest, ResetFishIsIdleUnsteeredButStillMoves) {
    sub.x = 5.0;
    sub.y = -3.0;
    fish.Update(1.0);
    EXPECT_EQ(fish.mode, BIGFISH_IDLE);
    EXPECT_EQ(fish.angle, 0.0);
    EXPECT_DOUBLE_EQ(fish.x, 1.5);
    EXPECT_DOUBLE_EQ(fish.chaseSpeed, 1.6);
    EXPECT_DOUBLE_EQ(fish.turnSpeed, 10.1);
}

TEST_F(BigFishTest, ChompDistanceUsesTheSinglePrecisionMouth) {
    sub.x = 0.9 * static_cast<double>(BIGFISH_SIZE);
    EXPECT_DOUBLE_EQ(0.9 * static_cast<double>(BIGFISH_SIZE), 0.36000000536441806);
    fish.angle = 15.0;
    EXPECT_NEAR(fish.ChompDistance(), 0.0, 1e-15);
    EXPECT_EQ(static_cast<double>(BIGFISH_CHOMP_DISTANCE), 0.20000000298023224);
    sub.x = 0.0;
    sub.y = 1.0;
    fish.angle = 0.0;
    double m = -15.0 * 0.017453292522222223;
    double expected =
        std::hypot(0.36000000536441806 * std::cos(m), 1.0 - 0.36000000536441806 * std::sin(m));
    EXPECT_DOUBLE_EQ(fish.ChompDistance(), expected);
}

TEST_F(BigFishTest, SteeringStopsExactlyOnTheTargetAngle) {
    fish.mode = BIGFISH_CHASE;
    sub.x = 10.0;  // straight ahead: the target angle is 0
    fish.angle = 5.0;
    fish.Update(1.0);
    EXPECT_EQ(fish.angle, 0.0) << "not 5 degrees past it";
    fish.angle = -3.0;
    fish.Update(0.1);
    EXPECT_DOUBLE_EQ(fish.angle, -3.0 + fish.turnSpeed * 0.1 - 0.1 * 0.1 * 0.1);
}

TEST_F(BigFishTest, TurnsTheLongerWayWhenTheDifferenceFallsBelowMinusOneEighty) {
    fish.mode = BIGFISH_CHASE;
    sub.x = 10.0 * std::cos(20 * PI / 180);
    sub.y = 10.0 * std::sin(20 * PI / 180);  // target angle 20
    fish.y = 0.0;
    fish.angle = -170.0;
    fish.Update(0.5);
    EXPECT_DOUBLE_EQ(fish.angle, -165.0) << "turned up, through -90, the longer way";
    fish.angle = 190.0;  // the same heading unwrapped: the short way round, downward
    fish.Update(0.5);
    EXPECT_LT(fish.angle, 190.0);
}

TEST_F(BigFishTest, AheadItLevelsSlowsLooksAheadAndDriftsToTheSubsDepth) {
    fish.mode = BIGFISH_CHASE;
    sub.x = 0.0;
    sub.y = -2.0;
    fish.x = 1.0;
    fish.y = -1.0;
    fish.Update(0.1);
    EXPECT_EQ(fish.faceFrame, 0);
    EXPECT_EQ(fish.targetSpeed, BIGFISH_OVERSHOT_VELOCITY);
    EXPECT_DOUBLE_EQ(fish.velocity, 1.45);
    double expectedY = -1.0 + (-2.0 + 1.0) * 0.1 * 0.1;
    EXPECT_DOUBLE_EQ(fish.y, expectedY);
}

TEST_F(BigFishTest, BehindItChasesAndOpensWideAtThreeTenths) {
    fish.mode = BIGFISH_CHASE;
    MouthAtOrigin();
    sub.x = 0.5;
    fish.Update(0.0);
    EXPECT_EQ(fish.faceFrame, 1);
    EXPECT_EQ(fish.targetSpeed, fish.chaseSpeed);
    sub.x = 0.3;
    fish.Update(0.0);
    EXPECT_EQ(fish.faceFrame, 2) << "exactly at the distance opens wide";
    sub.GetChomped();
    fish.Update(0.0);
    EXPECT_EQ(fish.faceFrame, 1) << "mouth shut over a chomped submarine";
}

TEST_F(BigFishTest, EqualXCountsAsBehind) {
    sub.x = 0.0;
    sub.y = -5.0;
    fish.Update(0.0);
    EXPECT_EQ(fish.faceFrame, 1);
}

TEST_F(BigFishTest, OpenMouthShuttingOnNothingBitesOnceOutsideTheMenu) {
    fish.mode = BIGFISH_CHASE;
    MouthAtOrigin();
    sub.x = 0.2;
    fish.Update(0.0);
    ASSERT_EQ(fish.faceFrame, 2);
    sub.x = 1.0;  // slipped out of reach
    fish.Update(0.0);
    EXPECT_EQ(fish.faceFrame, 1);
    EXPECT_EQ(EffectsPlaying(), 1);
    fish.Update(0.0);
    EXPECT_EQ(EffectsPlaying(), 1) << "one bite per shutting";
}

TEST_F(BigFishTest, OvertakingWithAnOpenMouthOrBitingInTheMenuIsSilent) {
    fish.mode = BIGFISH_CHASE;
    MouthAtOrigin();
    sub.x = 0.2;
    fish.Update(0.0);
    ASSERT_EQ(fish.faceFrame, 2);
    sub.x = -1.0;  // now behind the fish
    fish.Update(0.0);
    EXPECT_EQ(fish.faceFrame, 0);
    EXPECT_EQ(EffectsPlaying(), 0);

    world.my_mode = MODE_MENU;
    MouthAtOrigin();
    sub.x = 0.2;
    fish.Update(0.0);
    sub.x = 1.0;
    fish.Update(0.0);
    EXPECT_EQ(fish.faceFrame, 1);
    EXPECT_EQ(EffectsPlaying(), 0);
}

TEST_F(BigFishTest, EscortFallsBackAtOneAndAHalfAndCatchesUpAtTwoAndAQuarter) {
    fish.mode = BIGFISH_ESCORT;
    MouthAtOrigin();
    sub.x = 1.5;
    fish.Update(0.0);
    EXPECT_EQ(fish.chaseSpeed, BIGFISH_ESCORT_SLOW);
    EXPECT_EQ(fish.targetSpeed, BIGFISH_ESCORT_SLOW);
    sub.x = 2.0;
    fish.chaseSpeed = 1.2;
    fish.Update(0.0);
    EXPECT_EQ(fish.chaseSpeed, 1.2) << "between the two the speeds stay";
    sub.x = 2.25;
    fish.Update(0.0);
    EXPECT_EQ(fish.chaseSpeed, BIGFISH_ESCORT_FAST);
    EXPECT_EQ(fish.targetSpeed, BIGFISH_ESCORT_FAST);
}

TEST_F(BigFishTest, ChompRaisesTheSpeedsToVictoryOnlyFromBelow) {
    fish.Chomp();
    EXPECT_EQ(fish.chaseSpeed, BIGFISH_VICTORY_SPEED);
    EXPECT_EQ(fish.targetSpeed, BIGFISH_VICTORY_SPEED);
    fish.chaseSpeed = 3.5;
    fish.targetSpeed = 3.2;
    fish.Chomp();
    EXPECT_EQ(fish.chaseSpeed, 3.5);
    EXPECT_EQ(fish.targetSpeed, 3.2);
}

TEST_F(BigFishTest, AtTheSurfaceItIsHeldAtZeroAndItsNoseTurnsDown) {
    sub.x = 10.0;
    fish.y = 0.05;
    fish.angle = 20.0;
    fish.Update(0.1);
    EXPECT_EQ(fish.y, 0.0);
    EXPECT_DOUBLE_EQ(fish.angle, 15.5);
    fish.angle = -10.0;
    fish.Update(0.1);
    EXPECT_LT(fish.y, 0.0);
}

TEST_F(BigFishTest, TailAndFlipperBeatByTheSpeedOneFrameAStepAtMost) {
    sub.x = 100.0;  // far ahead: the fish chases at about 1.5
    double elapsed = 0.0;
    auto runUntil = [&](double time) {
        while (elapsed < time - 1e-9) {
            fish.Update(0.01);
            elapsed += 0.01;
        }
    };
    runUntil(0.38);
    EXPECT_EQ(fish.flipperFrame, 0);
    runUntil(0.42);
    EXPECT_EQ(fish.flipperFrame, 1) << "a flipper frame lasts 1 / (1.5 + 1) seconds";
    runUntil(0.62);
    EXPECT_EQ(fish.tailFrame, 0);
    runUntil(0.70);
    EXPECT_EQ(fish.tailFrame, 1) << "a tail frame lasts 1 / 1.5 seconds";

    BigFish slow;
    slow.Update(5.0);
    EXPECT_EQ(slow.flipperFrame, 1);
    EXPECT_EQ(slow.tailFrame, 1);
}

// ---- Seed weed ----

using SeedWeedTest = ActorTest;

TEST_F(SeedWeedTest, AtFrictionSpeedItStopsBeforeMoving) {
    SeedWeed weed;
    weed.wiggleTime = 100.0;
    weed.velocity = 0.01;
    weed.Update(0.5);
    EXPECT_EQ(weed.velocity, 0.0);
    EXPECT_EQ(weed.x, 0.0);
    EXPECT_EQ(weed.wiggleTimer, 0.5) << "the rest timer grows in the stopping step already";
}

TEST_F(SeedWeedTest, AtTheSurfaceItIsPutOnItAndMovesOnlyAcross) {
    SeedWeed weed;
    weed.y = 0.02;
    weed.angle = 45.0;
    weed.velocity = 1.0;
    weed.Update(0.1);
    EXPECT_EQ(weed.y, 0.0);
    EXPECT_NEAR(weed.x, std::cos(45 * PI / 180) * 0.1, 1e-12);
    weed.angle = -45.0;
    weed.Update(0.1);
    EXPECT_LT(weed.y, 0.0);
}

TEST_F(SeedWeedTest, DampingDoesNotDependOnHowTheTimeIsSplit) {
    SeedWeed once, twice;
    once.velocity = twice.velocity = 2.0;
    once.angle = twice.angle = -90.0;
    once.y = twice.y = -3.0;
    once.Update(1.0);
    twice.Update(0.5);
    twice.Update(0.5);
    EXPECT_DOUBLE_EQ(once.velocity, 2.0 * 0.333);
    EXPECT_DOUBLE_EQ(twice.velocity, once.velocity);
    EXPECT_EQ(once.wiggleTimer, 0.0);
}

TEST_F(SeedWeedTest, StruckWeedDriftsAboutOnePointEightTwoAndComesToRest) {
    SeedWeed weed;
    weed.y = -3.0;
    weed.velocity = SEEDWEED_COLLISION_VELOCITY;
    weed.wiggleTime = 1000.0;
    double time = 0.0;
    while (weed.velocity > 0.0 && time < 10.0) {
        weed.Update(0.001);
        time += 0.001;
    }
    EXPECT_NEAR(weed.x, 1.82, 0.01);
    EXPECT_NEAR(time, 4.8, 0.05);
}

TEST_F(SeedWeedTest, TwitchesOnlyOnceTheRestTimeIsStrictlyPassed) {
    SeedWeed weed;
    weed.wiggleTime = 1.0;
    weed.wiggleTimer = 0.5;
    weed.Update(0.5);
    EXPECT_EQ(weed.wiggleTimer, 1.0);
    EXPECT_EQ(weed.velocity, 0.0) << "equal does not twitch";
    SeedSoNextRandIs(16384);
    weed.Update(0.001);
    EXPECT_EQ(weed.wiggleTimer, 0.0);
    EXPECT_DOUBLE_EQ(weed.angle, 16384 * 360.0 / 32767.0);
    EXPECT_GT(weed.velocity, 0.0);
    EXPECT_LE(weed.velocity, SEEDWEED_WIGGLE_MAX_SPEED);
    EXPECT_LE(weed.wiggleTime, SEEDWEED_WIGGLE_MAX_TIME);
}

TEST_F(SeedWeedTest, RandomZeroGivesNoRestAndATwitchThatStaysPut) {
    SeedSoNextRandIs(0);
    SeedWeed weed;  // its rest time comes from that zero
    EXPECT_EQ(weed.wiggleTime, 0.0);
    weed.Update(0.0);
    EXPECT_EQ(weed.angle, 0.0) << "no time passed: no twitch";
    SeedSoNextRandIs(0);
    int second = [] {
        tobrin::rand();
        return tobrin::rand();
    }();
    SeedSoNextRandIs(0);
    weed.Update(0.01);
    EXPECT_EQ(weed.angle, 0.0);
    EXPECT_DOUBLE_EQ(weed.velocity, second * 0.25 / 32767.0);
    EXPECT_EQ(weed.wiggleTimer, 0.0);
}

TEST_F(SeedWeedTest, ResetRestsItButKeepsPlaceStrandsAndRestTimer) {
    SeedWeed weed;
    weed.x = 4.0;
    weed.strandOver = 3;
    weed.strandUnder = 5;
    weed.wiggleTimer = 1.25;
    weed.velocity = 2.0;
    weed.soundDelay = 0.5;
    weed.Reset();
    EXPECT_EQ(weed.x, 4.0);
    EXPECT_EQ(weed.strandOver, 3);
    EXPECT_EQ(weed.strandUnder, 5);
    EXPECT_EQ(weed.wiggleTimer, 1.25);
    EXPECT_EQ(weed.velocity, 0.0);
    EXPECT_EQ(weed.soundDelay, 0.0);
}

// ---- Billboard ----

TEST(BillboardTest, HalvesItsDistanceEveryOneOverRateSeconds) {
    Billboard board;
    board.destinationX = 2.0;
    board.destinationY = -4.0;
    board.Update(0.0);
    EXPECT_EQ(board.x, 0.0);
    board.Update(1.0);
    EXPECT_DOUBLE_EQ(board.x, 1.0);
    EXPECT_DOUBLE_EQ(board.y, -2.0);

    Billboard split;
    split.destinationX = 2.0;
    split.Update(0.5);
    split.Update(0.5);
    EXPECT_NEAR(split.x, 1.0, 1e-12);

    Billboard fast;
    fast.approachRate = 2.0;
    fast.destinationX = 2.0;
    fast.Update(0.5);
    EXPECT_DOUBLE_EQ(fast.x, 1.0);
    for (int i = 0; i < 1000; ++i) {
        fast.Update(0.016);
    }
    EXPECT_LE(fast.x, 2.0) << "never past its destination";
}

TEST(BillboardTest, AtItsDestinationItStaysAndResetKeepsIt) {
    Billboard board;
    board.x = board.destinationX = 1.5;
    board.y = board.destinationY = -0.5;
    board.Update(3.0);
    EXPECT_EQ(board.x, 1.5);
    EXPECT_EQ(board.y, -0.5);
    board.visible = true;
    board.image = 7;
    board.approachRate = 8.0;
    board.Reset();
    EXPECT_FALSE(board.visible);
    EXPECT_EQ(board.image, 1);
    EXPECT_EQ(board.approachRate, 1.0);
    EXPECT_EQ(board.destinationX, 1.5);
    EXPECT_EQ(board.x, 1.5);
}

// ---- Circle zoom ----

TEST(CircleZoomTest, ClosesFromFourAtSpeedFiveInEightTenthsAndHoldsBlack) {
    CircleZoom zoom;
    double x = 1.0, y = 2.0;
    zoom.Reset();
    zoom.radius = 4.0;
    zoom.speed = 5.0;
    zoom.ZoomIn(&x, &y);
    for (int i = 0; i < 7; ++i) {
        zoom.Update(0.1);
    }
    EXPECT_GT(zoom.radius, 0.0);
    zoom.Update(0.1);
    EXPECT_EQ(zoom.radius, 0.0);
    EXPECT_TRUE(zoom.active);
    zoom.Update(1.0);
    EXPECT_EQ(zoom.radius, 0.0);
    EXPECT_TRUE(zoom.active);
    EXPECT_EQ(zoom.x, 1.0);
    EXPECT_EQ(zoom.y, 2.0);
}

TEST(CircleZoomTest, OpensFromZeroToExactlyFiveInOneSecondThenRests) {
    CircleZoom zoom;
    zoom.radius = 0.0;
    zoom.speed = 5.0;
    zoom.ZoomOut(nullptr, nullptr);
    for (int i = 0; i < 9; ++i) {
        zoom.Update(0.1);
    }
    EXPECT_TRUE(zoom.active);
    zoom.Update(0.13);
    EXPECT_EQ(zoom.radius, CIRCLEZOOM_MAXIMUM);
    EXPECT_FALSE(zoom.active);
}

TEST(CircleZoomTest, ZoomsStartedAtTheirEndsFinishOrHoldAtOnce) {
    CircleZoom zoom;
    zoom.radius = 6.0;
    zoom.ZoomOut(nullptr, nullptr);
    zoom.Update(0.01);
    EXPECT_EQ(zoom.radius, 5.0);
    EXPECT_FALSE(zoom.active);
    zoom.radius = 0.0;
    zoom.ZoomIn(nullptr, nullptr);
    zoom.Update(0.5);
    EXPECT_EQ(zoom.radius, 0.0);
    EXPECT_TRUE(zoom.active);
}

TEST(CircleZoomTest, FollowsItsCentreEvenWhenInactiveAndKeepsXWithoutOne) {
    CircleZoom zoom;
    double y = -2.0;
    zoom.x = 3.0;
    zoom.centreY = &y;
    zoom.Update(0.1);
    EXPECT_FALSE(zoom.active);
    EXPECT_EQ(zoom.x, 3.0);
    EXPECT_EQ(zoom.y, -2.0);
    y = -2.5;
    zoom.Update(0.1);
    EXPECT_EQ(zoom.y, -2.5);
    EXPECT_EQ(zoom.radius, CIRCLEZOOM_MAXIMUM);
}

}  // namespace
