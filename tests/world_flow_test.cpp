// The game's flow, driven by held keys and a frame time of the test's choosing: the menu, the
// closing circle, the chase, the pause, the chomp and the return with a new high score.
#include <cmath>
#include <filesystem>

#include "game/game_constants.h"
#include "world_fixture.h"

namespace {

using WorldFlowTest = WorldFixture;

TEST_F(WorldFlowTest, StartsInTheMenuWithTheSubDroningAndTheFishEscorting) {
    EXPECT_EQ(world.my_mode, MODE_MENU);
    EXPECT_EQ(world.my_sub.state, SUB_DRONING);
    EXPECT_EQ(world.my_sub.y, WORLD_MENU_SUB_DEPTH);
    EXPECT_EQ(world.my_bigFish.mode, BIGFISH_ESCORT);
    EXPECT_EQ(world.my_bigFish.x, world.my_sub.x - 2.25);
    EXPECT_EQ(world.my_camera.x, world.my_sub.x - 0.75);
    EXPECT_EQ(world.my_camera.y, world.my_sub.y + 0.375);
    EXPECT_GT(world.my_fishies.Size() + world.my_seedWeeds.Size(), 0) << "restocked";
    EXPECT_EQ(WorldTask::music.tune, SND_BRINY);
    for (const Billboard& billboard : world.my_menuBillboards) {
        EXPECT_TRUE(billboard.visible);
    }
    EXPECT_FALSE(world.my_gameBillboards[0].visible);
}

TEST_F(WorldFlowTest, SpaceInTheMenuDoesNothing) {
    keys[SDLK_SPACE] = 1;
    Frames(50, 0.01);
    keys[SDLK_SPACE] = 0;
    Frames(50, 0.01);
    EXPECT_EQ(world.my_sub.targetSpeed, SUB_STANDARD_SPEED) << "no boost in the menu";
    EXPECT_EQ(world.my_mode, MODE_MENU);
}

TEST_F(WorldFlowTest, EnterClosesTheCircleInFourTenthsAndHeldThroughStartsExactlyOneGame) {
    keys[SDLK_RETURN] = 1;
    int closing = FramesUntil(0.01, 1000, [&] { return world.my_mode == MODE_CHASE; });
    // The menu advances the circle twice a frame: 4.0 units at 5 a second, twice, is 0.4 s,
    // give or take the frame that sees it closed.
    EXPECT_NEAR(closing * 0.01, 0.4, 0.025);
    EXPECT_EQ(world.my_sub.y, WORLD_GAME_SUB_DEPTH);
    EXPECT_EQ(world.my_score, 0);
    EXPECT_EQ(world.my_bigFish.mode, BIGFISH_CHASE);
    EXPECT_NEAR(world.my_bigFish.x, world.my_sub.x + 3.75, 0.1);
    EXPECT_EQ(WorldTask::music.tune, SND_ATTACK);
    EXPECT_FALSE(world.my_menuBillboards[0].visible);
    double subX = world.my_sub.x;
    Frames(100, 0.01);  // Enter still held
    EXPECT_EQ(world.my_mode, MODE_CHASE);
    EXPECT_GT(world.my_sub.x, subX) << "the same game goes on";
}

TEST_F(WorldFlowTest, TheCircleOpensOnANewGameInOneSecond) {
    StartAGame();
    int opening = FramesUntil(0.01, 1000, [&] { return !world.my_circleZoom.active; });
    EXPECT_NEAR(opening * 0.01, 1.0, 0.015);
    EXPECT_EQ(world.my_circleZoom.radius, CIRCLEZOOM_MAXIMUM);
}

TEST_F(WorldFlowTest, SpaceBoostsOnPressAndOnRelease) {
    StartAGame();
    Frames(5, 0.01);
    keys[SDLK_SPACE] = 1;
    Frame(0.01);
    EXPECT_DOUBLE_EQ(world.my_sub.targetSpeed, 1.75);
    double angle = world.my_sub.angle;
    Frame(0.01);
    EXPECT_DOUBLE_EQ(world.my_sub.angle, std::min(angle + 0.6, SUB_MAX_ANGLE));
    keys[SDLK_SPACE] = 0;
    double before = world.my_sub.targetSpeed - 0.5 * 0.01;
    Frame(0.01);
    EXPECT_DOUBLE_EQ(world.my_sub.targetSpeed, (before + SUB_SPEED_BOOST) / 2);
}

TEST_F(WorldFlowTest, PauseKeyPausesOncePerPressAndTheBannerLeavesRightThenLeft) {
    StartAGame();
    Billboard& banner = world.my_gameBillboards[0];
    EXPECT_TRUE(banner.visible);
    EXPECT_EQ(banner.x, -3.0);
    keys[SDLK_PAUSE] = 1;
    Frames(20, 0.01);
    EXPECT_TRUE(world.my_paused) << "held, it pauses once";
    EXPECT_EQ(banner.destinationX, 0.0);
    keys[SDLK_PAUSE] = 0;
    Frames(100, 0.01);
    EXPECT_NEAR(banner.x, 0.0, 0.01) << "the banner glides in while paused";
    keys[SDLK_PAUSE] = 1;
    Frame(0.01);
    EXPECT_FALSE(world.my_paused);
    EXPECT_EQ(banner.destinationX, 3.0);
    keys[SDLK_PAUSE] = 0;
    Frame(0.01);
    keys[SDLK_PAUSE] = 1;
    Frame(0.01);
    keys[SDLK_PAUSE] = 0;
    Frame(0.01);
    keys[SDLK_PAUSE] = 1;
    Frame(0.01);
    EXPECT_FALSE(world.my_paused);
    EXPECT_EQ(banner.destinationX, -3.0);
}

TEST_F(WorldFlowTest, WhilePausedNothingMovesOrSpawnsAndSpaceIsIgnored) {
    StartAGame();
    keys[SDLK_PAUSE] = 1;
    Frame(0.01);
    keys[SDLK_PAUSE] = 0;
    ASSERT_TRUE(world.my_paused);
    double subX = world.my_sub.x, angle = world.my_sub.angle, fishX = world.my_bigFish.x;
    int fishies = world.my_fishies.Size(), weeds = world.my_seedWeeds.Size();
    double fishieTimer = WorldTask::fishieSpawnTimer;
    keys[SDLK_SPACE] = 1;
    Frames(200, 0.01);
    EXPECT_EQ(world.my_sub.x, subX);
    EXPECT_EQ(world.my_sub.angle, angle);
    EXPECT_EQ(world.my_sub.targetSpeed, SUB_STANDARD_SPEED);
    EXPECT_EQ(world.my_bigFish.x, fishX);
    EXPECT_EQ(world.my_fishies.Size(), fishies);
    EXPECT_EQ(world.my_seedWeeds.Size(), weeds);
    EXPECT_EQ(WorldTask::fishieSpawnTimer, fishieTimer);
}

TEST_F(WorldFlowTest, ChompRideAndTheReturnToTheMenuAfterThreeAndAThirdSeconds) {
    StartAGame();
    Frames(120, 0.01);  // the opening circle has ended
    world.my_fishies.PruneAll();
    world.my_score = 3;
    FishMouthOnSub();
    Frame(0.01);
    ASSERT_EQ(world.my_sub.state, SUB_CHOMPED);
    EXPECT_EQ(world.my_camera.targetX, &world.my_bigFish.x);
    EXPECT_EQ(WorldTask::music.tune, SND_EATEN_TUNE);
    EXPECT_EQ(world.my_bigFish.chaseSpeed, BIGFISH_VICTORY_SPEED);
    int closing = FramesUntil(0.01, 1000, [&] {
        if (world.my_mode == MODE_CHASE) {
            EXPECT_EQ(world.my_sub.x, world.my_bigFish.x) << "the sub rides inside the fish";
        }
        return world.my_mode == MODE_MENU;
    });
    EXPECT_NEAR(closing * 0.01, 4.0 / 1.2, 0.02);
    EXPECT_EQ(world.my_lastScore, 3);
    EXPECT_EQ(world.my_highScore, 3);
    EXPECT_EQ(WorldTask::music.tune, SND_BRINY);
    EXPECT_EQ(world.my_sub.state, SUB_DRONING);
}

TEST_F(WorldFlowTest, ChompWhileTheCircleStillOpensClosesItOnlyOnceItHasOpened) {
    StartAGame();
    Frames(20, 0.01);
    ASSERT_TRUE(world.my_circleZoom.active);
    FishMouthOnSub();
    Frame(0.01);
    ASSERT_EQ(world.my_sub.state, SUB_CHOMPED);
    EXPECT_EQ(world.my_circleZoom.zoomingOut, 1) << "still opening";
    FramesUntil(0.01, 200, [&] { return world.my_circleZoom.zoomingOut == 0; });
    EXPECT_EQ(world.my_circleZoom.zoomingOut, 0);
    EXPECT_GT(world.my_circleZoom.radius, 3.9) << "closing from the start, once opened";
}

TEST_F(WorldFlowTest, HighScoreIsSavedAtOnceOnlyWhenBeatenWithOneDator) {
    auto playAndGetChompedWith = [&](long score) {
        StartAGame();
        Frames(120, 0.01);
        world.my_fishies.PruneAll();  // none still on its way into the sub to add a point
        world.my_score = score;
        FishMouthOnSub();
        FramesUntil(0.01, 1000, [&] { return world.my_mode == MODE_MENU; });
    };
    world.my_highScore = 5;
    playAndGetChompedWith(5);
    EXPECT_FALSE(FileExists("tobrin.cfg")) << "a tie writes nothing";
    EXPECT_EQ(world.my_highScoreDator, nullptr);

    playAndGetChompedWith(6);
    EXPECT_EQ(world.my_highScore, 6);
    EXPECT_EQ(SplitLines(ReadTextFile("tobrin.cfg"))[0], "HIGH_SCORE=6");
    Dator<long>* dator = world.my_highScoreDator;
    std::string name = "HIGH_SCORE";
    EXPECT_EQ(settings->GetVariable(name), dator);

    playAndGetChompedWith(9);
    EXPECT_EQ(world.my_highScoreDator, dator) << "one dator serves every new best";
    EXPECT_EQ(SplitLines(ReadTextFile("tobrin.cfg"))[0], "HIGH_SCORE=9");
    EXPECT_EQ(world.my_lastScore, 9);
}

TEST_F(WorldFlowTest, CaptionCyclesEveryNineSecondsAndReturnsToItsHeight) {
    const double step = 0.125;  // exact in binary, so the phases end on whole frames
    Billboard& caption = world.my_menuBillboards[3];
    EXPECT_EQ(caption.image, IMG_TEXT_NAME);
    Frames(59, step);
    EXPECT_EQ(caption.destinationY, -1.125);
    Frame(step);
    EXPECT_EQ(caption.destinationY, -1.125 - 2.25) << "after 7.5 s it glides away";
    Frames(11, step);
    EXPECT_EQ(caption.image, IMG_TEXT_NAME);
    Frame(step);
    EXPECT_EQ(caption.image, IMG_TEXT_FISHIES) << "9 s after the menu opened the next one";
    EXPECT_EQ(caption.destinationY, -1.125);
    Frames(6 * 72, step);
    EXPECT_EQ(caption.image, IMG_TEXT_NAME) << "seven captions, then the first again";
    EXPECT_EQ(caption.destinationY, -1.125);
}

}  // namespace
