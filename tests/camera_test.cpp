// The camera's glide towards the point it follows.
#include "game/camera.h"
#include "test_support.h"

namespace {

class CameraTest : public ::testing::Test {
protected:
    Camera camera;
    double followedX = 2.0;
    double followedY = -1.0;
    void SetUp() override {
        camera.targetX = &followedX;
        camera.targetY = &followedY;
    }
};

TEST_F(CameraTest, NoTimeNoMove) {
    camera.Update(0.0);
    EXPECT_EQ(camera.x, 0.0);
    EXPECT_EQ(camera.y, 0.0);
}

TEST_F(CameraTest, SixteenthOfASecondCoversHalfTheWay) {
    camera.Update(0.0625);
    EXPECT_DOUBLE_EQ(camera.x, 1.0);
    EXPECT_DOUBLE_EQ(camera.y, -0.5);
}

TEST_F(CameraTest, LongFrameLandsExactlyOnTheGoalAndNeverOvershoots) {
    for (double dT : {0.125, 0.5, 10.0}) {
        camera.x = -3.0;
        camera.y = 4.0;
        camera.Update(dT);
        EXPECT_EQ(camera.x, 2.0) << dT;
        EXPECT_EQ(camera.y, -1.0) << dT;
    }
}

TEST_F(CameraTest, OffsetsShiftTheGoalAndAStillGoalHoldsTheCamera) {
    camera.offsetX = 0.5;
    camera.offsetY = 0.25;
    camera.Update(1.0);
    for (int frame = 0; frame < 100; ++frame) {
        camera.Update(0.016);
    }
    EXPECT_EQ(camera.x, 2.5);
    EXPECT_EQ(camera.y, -0.75);
}

TEST_F(CameraTest, ApproachIsExponentialInFrames) {
    camera.Update(0.025);  // closes 20% a frame
    camera.Update(0.025);
    EXPECT_NEAR(camera.x, 2.0 * (1 - 0.8 * 0.8), 1e-12);
}

TEST_F(CameraTest, ResetForgetsTargetsAndOffsetsButStaysPut) {
    camera.x = 3.0;
    camera.y = 1.5;
    camera.offsetX = 1.0;
    camera.secondTargetX = &followedX;
    camera.Reset();
    EXPECT_EQ(camera.x, 3.0);
    EXPECT_EQ(camera.y, 1.5);
    EXPECT_EQ(camera.targetX, nullptr);
    EXPECT_EQ(camera.targetY, nullptr);
    EXPECT_EQ(camera.secondTargetX, nullptr);
    EXPECT_EQ(camera.offsetX, 0.0);
}

}  // namespace
