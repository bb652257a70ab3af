// The world's picture, read back from a real OpenGL context: the sky rule, the score's digits
// and where they stand, the menu's scores and the circle over everything.
#include <GL/gl.h>

#include <array>
#include <vector>

#include "world_fixture.h"

namespace {

// 320 x 240 pixels show the 4 x 3 unit view: 80 pixels a unit, the view's centre in the
// middle of the window, rows counted from the bottom.
struct Pixel {
    int red, green, blue;
};

Pixel ReadAt(double viewX, double viewY) {
    unsigned char rgba[4] = {};
    glFinish();
    glReadBuffer(GL_BACK);
    glReadPixels(static_cast<int>(160 + 80 * viewX), static_cast<int>(120 + 80 * viewY), 1, 1,
                 GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

bool Near(Pixel pixel, int red, int green, int blue) {
    auto close = [](int a, int b) { return a - b <= 6 && b - a <= 6; };
    return close(pixel.red, red) && close(pixel.green, green) && close(pixel.blue, blue);
}

class WorldDrawingTest : public WorldFixture {
protected:
    std::vector<GLuint> digitTextures;

    // Each digit's picture becomes a plain colour of its own, so a pixel tells the digit.
    static std::array<int, 3> DigitColour(int digit) { return {digit * 25, 250 - digit * 25, 77}; }

    void PaintDigits() {
        digitTextures.resize(10);
        glGenTextures(10, digitTextures.data());
        for (int digit = 0; digit < 10; ++digit) {
            std::array<int, 3> colour = DigitColour(digit);
            unsigned char texels[4 * 4 * 4];
            for (int i = 0; i < 16; ++i) {
                texels[4 * i] = static_cast<unsigned char>(colour[0]);
                texels[4 * i + 1] = static_cast<unsigned char>(colour[1]);
                texels[4 * i + 2] = static_cast<unsigned char>(colour[2]);
                texels[4 * i + 3] = 255;
            }
            glBindTexture(GL_TEXTURE_2D, digitTextures[digit]);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            world.my_textures[IMG_NUM_0 + digit] = digitTextures[digit];
        }
    }
    void TearDown() override {
        if (!digitTextures.empty()) {
            glDeleteTextures(10, digitTextures.data());
        }
        WorldFixture::TearDown();
    }
    // The digit whose colour shows at a point of the view, or -1.
    int DigitAt(double viewX, double viewY) {
        Pixel pixel = ReadAt(viewX, viewY);
        for (int digit = 0; digit < 10; ++digit) {
            std::array<int, 3> colour = DigitColour(digit);
            if (Near(pixel, colour[0], colour[1], colour[2])) {
                return digit;
            }
        }
        return -1;
    }
    // The eight digits on a row, left to right, the ones digit centred at x = 1.85.
    std::vector<int> DigitsOnRow(double viewY) {
        std::vector<int> digits;
        for (int i = 7; i >= 0; --i) {
            digits.push_back(DigitAt(1.85 - 0.15 * i, viewY));
        }
        return digits;
    }
    // Draws the ocean into a taller frame than the game's, to see above the view's top.
    void DrawOceanSeeingAbove(double cameraY) {
        world.my_camera.y = cameraY;
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glViewport(0, 0, 320, 240);
        glOrtho(-2.0, 2.0, -1.5, 4.5, -1.0, 1.0);  // 40 pixels a unit upwards
        world.DrawOcean();
    }
};

TEST_F(WorldDrawingTest, SkyShowsWhileTheCameraIsAboveMinusOnePointEight) {
    DrawOceanSeeingAbove(-1.79);
    // The sky's quad spans 0 to 2 above the surface, which stands 1.79 above the view's centre.
    unsigned char rgba[4];
    glFinish();
    glReadPixels(160, static_cast<int>(240 * (1.5 + 2.8) / 6.0), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba);
    EXPECT_TRUE(Near({rgba[0], rgba[1], rgba[2]}, 0, 191, 255))
        << int(rgba[0]) << "," << int(rgba[1]) << "," << int(rgba[2]);
    DrawOceanSeeingAbove(-1.8);
    glFinish();
    glReadPixels(160, static_cast<int>(240 * (1.5 + 2.8) / 6.0), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba);
    EXPECT_TRUE(Near({rgba[0], rgba[1], rgba[2]}, 0, 0, 0)) << "no sky that deep";
}

TEST_F(WorldDrawingTest, SeaFadesFromSurfaceBlueToBlackFiftyUnitsDown) {
    world.my_camera.y = 0.0;
    world.LoadGLStandard();
    glClear(GL_COLOR_BUFFER_BIT);
    world.DrawOcean();
    Pixel justBelow = ReadAt(0.0, -0.2);
    EXPECT_NEAR(justBelow.blue, 255, 8);
    EXPECT_NEAR(justBelow.green, 51, 8);
    Pixel sky = ReadAt(0.0, 1.0);
    EXPECT_TRUE(Near(sky, 0, 191, 255));
    world.my_camera.y = -25.0;  // half way down the gradient
    world.LoadGLStandard();
    glClear(GL_COLOR_BUFFER_BIT);
    world.DrawOcean();
    EXPECT_NEAR(ReadAt(0.0, 0.0).blue, 128, 8);
}

TEST_F(WorldDrawingTest, ScoreShowsEightDigitsInTheBottomRightCorner) {
    PaintDigits();
    world.LoadGLStandard();
    glClear(GL_COLOR_BUFFER_BIT);
    world.my_score = 123;
    world.DrawHUD();
    EXPECT_EQ(DigitsOnRow(-1.425), (std::vector<int>{0, 0, 0, 0, 0, 1, 2, 3}));
    EXPECT_EQ(DigitAt(0.8 - 0.15, -1.425), -1) << "nothing left of the eighth digit";
    glClear(GL_COLOR_BUFFER_BIT);
    world.my_score = 1234567890;
    world.DrawHUD();
    EXPECT_EQ(DigitsOnRow(-1.425), (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 0}))
        << "only the last eight digits";
}

TEST_F(WorldDrawingTest, MenuShowsTheHighScoreAboveTheLastScore) {
    PaintDigits();
    world.my_highScore = 4711;
    world.my_lastScore = 42;
    world.LoadGLStandard();
    glClear(GL_COLOR_BUFFER_BIT);
    world.DrawMenu();
    EXPECT_EQ(DigitsOnRow(-1.275), (std::vector<int>{0, 0, 0, 0, 4, 7, 1, 1}));
    EXPECT_EQ(DigitsOnRow(-1.425), (std::vector<int>{0, 0, 0, 0, 0, 0, 4, 2}));
}

TEST_F(WorldDrawingTest, NegativeHighScoreFromAHandEditedFileShowsAsZeros) {
    PaintDigits();
    world.my_highScore = -42;
    world.LoadGLStandard();
    glClear(GL_COLOR_BUFFER_BIT);
    world.DrawMenu();
    EXPECT_EQ(DigitsOnRow(-1.275), (std::vector<int>(8, 0)));
}

TEST_F(WorldDrawingTest, ClosedCircleCoversTheScoreAndEverythingElse) {
    StartAGame();
    PaintDigits();
    world.my_circleZoom.Reset();
    world.my_circleZoom.radius = 0.0;
    world.my_circleZoom.ZoomIn(&world.my_sub.x, &world.my_sub.y);
    world.my_circleZoom.Update(0.0);
    world.DrawGame();
    for (double x : {-1.9, 0.0, 1.85}) {
        for (double y : {1.4, 0.0, -1.425}) {
            EXPECT_TRUE(Near(ReadAt(x, y), 0, 0, 0)) << x << "," << y;
        }
    }
    world.my_circleZoom.Reset();  // inactive: the score shows again
    world.my_score = 0;
    world.DrawGame();
    EXPECT_EQ(DigitAt(1.85, -1.425), 0);
}

TEST_F(WorldDrawingTest, PausedBannerIsDrawnLastOverTheWorld) {
    StartAGame();
    Billboard& banner = world.my_gameBillboards[0];
    banner.x = 0.0;
    banner.y = 0.0;
    GLuint red = 0;
    glGenTextures(1, &red);
    const unsigned char texel[4] = {250, 10, 10, 255};
    glBindTexture(GL_TEXTURE_2D, red);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    world.my_textures[IMG_TEXT_PAUSED] = red;
    world.DrawGame();
    EXPECT_TRUE(Near(ReadAt(0.0, 0.0), 250, 10, 10));
    EXPECT_TRUE(Near(ReadAt(0.6, 0.3), 250, 10, 10));
    EXPECT_FALSE(Near(ReadAt(0.0, 0.45), 250, 10, 10)) << "the banner is 0.667 high";
    glDeleteTextures(1, &red);
}

}  // namespace
