// SPDX-License-Identifier: GPL-3.0-or-later
// The picture, read back from a real OpenGL context: where each actor's quads stand, which
// way up and in which layer; the sky rule, the score's digits and what covers what.
#include <GL/gl.h>

#include <cmath>
#include <functional>

#include "game/game_constants.h"
#include "world_fixture.h"

namespace {

struct Colour {
    int r, g, b, a = 255;
};
const Colour GREY{128, 128, 128}, CLEAR{0, 0, 0, 0}, BLACK{0, 0, 0}, RED{255, 0, 0};
const Colour GREEN{0, 255, 0}, BLUE{0, 0, 255}, YELLOW{255, 255, 0}, MAGENTA{255, 0, 255};

// What blending leaves when `top`, modulated by (dim, dim, dim, alpha), covers grey.
Colour OverGrey(Colour top, double dim, double alpha) {
    auto mix = [&](int t) {
        return static_cast<int>(std::lround(t * dim * alpha + 128 * (1 - alpha)));
    };
    return {mix(top.r), mix(top.g), mix(top.b)};
}

// A full HD window shows the 4 x 3 unit view in its middle 1440 x 1080 pixels, 360 a unit,
// between bars of 240: a picture stretched to the window's shape is found out everywhere.
class DrawingTest : public WorldFixture {
protected:
    static constexpr double M = 0.01;  // over a pixel: how far a sample keeps off an edge
    std::vector<GLuint> made;

    DrawingTest() {
        windowWidth = 1920;
        windowHeight = 1080;
    }
    void TearDown() override {
        if (!made.empty()) {
            glDeleteTextures(static_cast<GLsizei>(made.size()), made.data());
        }
        WorldFixture::TearDown();
    }
    GLuint Picture(int width, int height, const std::vector<Colour>& texels) {
        std::vector<unsigned char> bytes;
        for (const Colour& c : texels) {
            bytes.insert(bytes.end(),
                         {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                          static_cast<unsigned char>(c.b), static_cast<unsigned char>(c.a)});
        }
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     bytes.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        made.push_back(texture);
        return texture;
    }
    // Every picture clear but one, which shows red, green, blue and yellow quarters.
    void OnlyQuarters(int image) {
        GLuint clear = Picture(1, 1, {CLEAR});
        std::fill(std::begin(world.my_textures), std::end(world.my_textures), clear);
        world.my_textures[image] = Picture(2, 2, {RED, GREEN, BLUE, YELLOW});
    }
    void Clear(Colour colour) {
        world.LoadGLStandard();
        glClearColor(colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    static Colour ReadAt(double x, double y) {
        unsigned char rgba[4] = {};
        glFinish();
        glReadPixels(static_cast<int>(std::floor(960 + 360 * x)),
                     static_cast<int>(std::floor(540 + 360 * y)), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     rgba);
        return {rgba[0], rgba[1], rgba[2]};
    }
    static ::testing::AssertionResult Shows(double x, double y, Colour want) {
        Colour got = ReadAt(x, y);
        if (std::abs(got.r - want.r) <= 8 && std::abs(got.g - want.g) <= 8 &&
            std::abs(got.b - want.b) <= 8) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "at (" << x << ", " << y << ") got " << got.r << "," << got.g << "," << got.b
               << " wanted " << want.r << "," << want.g << "," << want.b;
    }
};

// One row: an actor drawn with one picture in quarters, and the quad that picture must fill,
// or must leave empty.
struct Quad {
    const char* what;
    int image;
    std::function<void()> draw;
    double x, y, degrees, halfWidth, halfHeight;
    bool upsideDown = false;
    double dim = 1.0, alpha = 1.0;
    bool drawn = true;
};

std::function<void()> SubAt(double angle, int prop, double dT, bool chomped = false) {
    return [=] {
        Sub sub;
        sub.propState = prop;
        sub.x = 0.4, sub.y = -0.3, sub.angle = angle;
        if (chomped) {
            sub.GetChomped();
        }
        sub.Draw(dT);
    };
}

std::function<void()> FishAt(int tail, int flipper, int face, int mode = BIGFISH_CHASE) {
    return [=] {
        BigFish fish;
        fish.mode = mode;
        fish.x = 0.3, fish.y = -0.2, fish.angle = 200.0;
        fish.tailFrame = tail, fish.flipperFrame = flipper, fish.faceFrame = face;
        fish.Draw();
    };
}

std::function<void()> WeedAt(bool over) {
    return [=] {
        SeedWeed weed;
        weed.x = -0.6, weed.y = -0.8, weed.angle = 135.0;
        weed.strandUnder = 2, weed.strandOver = 5;
        over ? weed.DrawOver() : weed.DrawUnder();
    };
}

std::function<void()> BoardAt(bool visible) {
    return [=] {
        Billboard board;
        board.image = IMG_TEXT_TOBRIN;
        board.x = 0.3, board.y = -0.2, board.visible = visible;
        board.Draw();
    };
}

TEST_F(DrawingTest, EachActorsPicturesFillTheirQuadsTurnedByTheirAngle) {
    // The propeller's centre: 0.18 behind the sub's and 0.01 below, turned with it.
    const double c = std::cos(30 * PI / 180), s = std::sin(30 * PI / 180);
    const double propX = 0.4 - 0.18 * c + 0.01 * s, propY = -0.3 - 0.18 * s - 0.01 * c;
    const Quad quads[] = {
        {"sub", IMG_SUB, SubAt(30, 0, 0), 0.4, -0.3, 30, 0.2, 0.1},
        {"prop", IMG_PROP1, SubAt(30, 0, 0), propX, propY, 30, 0.1, 0.1},
        {"prop moved on", IMG_PROP3, SubAt(30, 0, 0.25), propX, propY, 30, 0.1, 0.1},
        {"prop upside down", IMG_PROP2, SubAt(30, 3, 0), propX, propY, 30, 0.1, 0.1, true},
        {"chomped sub", IMG_SUB, SubAt(30, 0, 0, true), 0.4, -0.3, 30, 0.2, 0.1, 0, 1, 1, false},
        {"fishie", IMG_FISHIE_RED,
         [] {
             Fishie fishie;
             fishie.x = -1.2, fishie.y = 0.7, fishie.angle = -15.0;
             fishie.Draw();
         },
         -1.2, 0.7, -15, 0.05, 0.05},
        {"fish body", IMG_FISH_BODY, FishAt(0, 0, 0), 0.3, -0.2, 200, 0.4, 0.4},
        {"fish tail", IMG_FISH_TAIL3, FishAt(3, 0, 0), 0.3, -0.2, 200, 0.4, 0.4},
        {"fish flipper", IMG_FISH_FLIPPER2, FishAt(0, 1, 0), 0.3, -0.2, 200, 0.4, 0.4},
        {"fish face", IMG_FISH_FACE3, FishAt(0, 0, 2), 0.3, -0.2, 200, 0.4, 0.4},
        {"idle fish", IMG_FISH_BODY, FishAt(0, 0, 0, BIGFISH_IDLE), 0.3, -0.2, 200, 0.4, 0.4, 0, 1,
         1, false},
        {"seed", IMG_SEEDWEED_SEED, WeedAt(false), -0.6, -0.8, 0, 0.1, 0.1},
        {"back strand", IMG_SEEDWEED_3, WeedAt(false), -0.6, -0.1, 0, 0.2, 0.8, false, 0.9, 0.8},
        {"front strand", IMG_SEEDWEED_6, WeedAt(true), -0.6, -0.1, 0, 0.2, 0.8, false, 1.0, 0.8},
        {"billboard", IMG_TEXT_TOBRIN, BoardAt(true), 0.3, -0.2, 0, 1.0, 1.0},
        {"hidden billboard", IMG_TEXT_TOBRIN, BoardAt(false), 0.3, -0.2, 0, 1.0, 1.0, 0, 1, 1,
         false},
    };
    for (const Quad& q : quads) {
        OnlyQuarters(q.image);
        Clear(GREY);
        q.draw();
        double a = q.degrees * PI / 180, w = q.halfWidth, h = q.halfHeight;
        // A weed's strands end at the sea's surface, y = 0, however tall they are.
        bool strand = q.image >= IMG_SEEDWEED_1 && q.image <= IMG_SEEDWEED_8;
        auto at = [&](double along, double across, Colour want) {
            double x = q.x + along * std::cos(a) - across * std::sin(a);
            double y = q.y + along * std::sin(a) + across * std::cos(a);
            EXPECT_TRUE(Shows(x, y, q.drawn && !(strand && y > 0) ? want : GREY))
                << q.what << " at " << along << ", " << across;
        };
        Colour top[2] = {RED, GREEN}, bottom[2] = {BLUE, YELLOW};
        if (q.upsideDown) {
            std::swap(top, bottom);
        }
        for (double f : {0.5, 1.0 - M / std::min(w, h)}) {
            at(-w * f, h * f, OverGrey(top[0], q.dim, q.alpha));
            at(w * f, h * f, OverGrey(top[1], q.dim, q.alpha));
            at(-w * f, -h * f, OverGrey(bottom[0], q.dim, q.alpha));
            at(w * f, -h * f, OverGrey(bottom[1], q.dim, q.alpha));
        }
        for (auto [along, across] : {std::pair{w + M, 0.0}, {-w - M, 0.0}, {0.0, h + M}}) {
            at(along, across, GREY);
        }
    }
}

TEST_F(DrawingTest, TheCircleBlacksOutAroundAnOpeningFramedByItsPicture) {
    std::vector<Colour> ring(16, MAGENTA);
    ring[5] = ring[6] = ring[9] = ring[10] = CLEAR;
    world.my_textures[IMG_CIRCLE_FRAME] = Picture(4, 4, ring);
    CircleZoom zoom;
    zoom.ZoomIn(nullptr, nullptr);
    zoom.x = 0.2, zoom.y = -0.1, zoom.radius = 0.6;
    Clear(GREY);
    zoom.Draw();
    EXPECT_TRUE(Shows(0.2, -0.1, GREY)) << "the opening";
    EXPECT_TRUE(Shows(0.2 + 0.45, -0.1 + 0.45, MAGENTA)) << "its frame";
    for (auto [x, y] : {std::pair{0.2 + 0.6 + M, -0.1}, {0.2, -0.1 - 0.6 - M}, {-1.9, 1.4}}) {
        EXPECT_TRUE(Shows(x, y, BLACK)) << x << ", " << y;
    }
    zoom.x = 2.5, zoom.y = 1.8, zoom.radius = 0.0;  // closed: 8 x 6 black around the centre
    Clear(GREY);
    zoom.Draw();
    EXPECT_TRUE(Shows(-1.5 + M, -1.2 + M, BLACK));
    EXPECT_TRUE(Shows(-1.5 - M, 0.0, GREY));
    EXPECT_TRUE(Shows(0.0, -1.2 - M, GREY));
    zoom.x = zoom.y = 0.0;  // closed on the middle: black over the whole view, and only there
    Clear(GREY);
    zoom.Draw();
    for (auto [column, colour] :
         {std::pair{239.5, GREY}, {240.5, BLACK}, {1679.5, BLACK}, {1680.5, GREY}}) {
        EXPECT_TRUE(Shows((column - 960) / 360, 0.0, colour)) << "column " << column;
    }
    zoom.ZoomOut(nullptr, nullptr);
    zoom.radius = 5.0;
    Clear(GREY);
    zoom.Draw();
    EXPECT_TRUE(Shows(0.0, 0.0, GREY)) << "fully open draws nothing";
}

// Each digit's picture becomes a plain colour of its own, so a pixel tells the digit.
TEST_F(DrawingTest, TheScoreAndTheMenusScoresShowTheirLastEightDigits) {
    for (int digit = 0; digit < 10; ++digit) {
        world.my_textures[IMG_NUM_0 + digit] = Picture(1, 1, {{digit * 25, 250 - digit * 25, 77}});
    }
    auto DigitsOnRow = [](double y) {
        std::vector<int> digits;
        for (int i = 7; i >= 0; --i) {
            Colour got = ReadAt(1.85 - 0.15 * i, y);
            digits.push_back(got.b > 60 && got.b < 95 ? (got.r + 12) / 25 : -1);
        }
        return digits;
    };
    Clear(BLACK);
    world.my_score = 1234567890;
    world.DrawHUD();
    EXPECT_EQ(DigitsOnRow(-1.425), (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 0}));
    EXPECT_EQ(ReadAt(0.8 - 0.15, -1.425).b, 0) << "nothing left of the eighth digit";
    world.my_highScore = 4711;
    world.my_lastScore = 42;
    Clear(BLACK);
    world.DrawMenu();
    EXPECT_EQ(DigitsOnRow(-1.275), (std::vector<int>{0, 0, 0, 0, 4, 7, 1, 1}));
    EXPECT_EQ(DigitsOnRow(-1.425), (std::vector<int>{0, 0, 0, 0, 0, 0, 4, 2}));
    world.my_highScore = -42;  // from a hand-edited file
    Clear(BLACK);
    world.DrawMenu();
    EXPECT_EQ(DigitsOnRow(-1.275), std::vector<int>(8, 0));
}

// The sea and the sky fill the view, with black above the sky and in the bars beside a wide
// window's view. A window of the view's own shape has its sky cleared rather than drawn, the
// 1440 x 1080 cases below, which must look the same.
TEST_F(DrawingTest, TheSeaAndSkyFillTheViewAndBlackTheRest) {
    const Colour SKY{0, 191, 255};
    auto Sea = [](double depth) {
        double f = 1.0 - depth / DRAW_SEA_DEPTH;
        return Colour{0, static_cast<int>(std::lround(51 * f)),
                      static_cast<int>(std::lround(255 * f))};
    };
    struct Case {
        const char* what;
        int windowWidth;
        double cameraY, x, y;  // y from the view's centre
        Colour want;
    };
    const Case cases[] = {
        {"the menu's sky", 1440, 0.375, -1.9, 1.4, SKY},
        {"the menu's sea", 1440, 0.375, -1.9, -1.4, Sea(1.025)},
        {"black above the sky", 1440, 1.0, -1.9, 1.4, BLACK},
        {"sea at the top, too deep for sky", 1440, -3.0, -1.9, 1.4, Sea(1.6)},
        {"the menu's sky, wide", 1920, 0.375, -1.9, 1.4, SKY},
        {"a bar beside the sky", 1920, 0.375, -2.3, 1.4, BLACK},
    };
    for (const Case& c : cases) {
        VideoUpdate::screenWidth = c.windowWidth;  // the view's own shape in the window's corner
        world.my_camera.y = c.cameraY;
        world.DrawBackground();
        unsigned char rgb[3] = {};
        glFinish();
        glReadPixels(static_cast<int>(c.windowWidth / 2 + 360 * c.x),
                     static_cast<int>(540 + 360 * c.y), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        EXPECT_NEAR(rgb[0], c.want.r, 8) << c.what;
        EXPECT_NEAR(rgb[1], c.want.g, 8) << c.what;
        EXPECT_NEAR(rgb[2], c.want.b, 8) << c.what;
    }
    VideoUpdate::screenWidth = windowWidth;
}

// A framebuffer between the game and its window, as sdl12-compat puts there to scale, would
// cost a copy of the whole window at every swap.
TEST_F(DrawingTest, FramesAreDrawnStraightIntoTheWindow) {
    GLint drawn = -1, read = -1;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawn);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    EXPECT_EQ(drawn, 0);
    EXPECT_EQ(read, 0);
}

}  // namespace
