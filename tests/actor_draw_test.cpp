// Drawing of the actors into a real OpenGL context with small pictures of known colours, checked
// by reading the pixels back.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <vector>

#include "engine/global_timer.h"
#include "engine/kernel.h"
#include "engine/video_update.h"
#include "game/big_fish.h"
#include "game/billboard.h"
#include "game/circle_zoom.h"
#include "game/drawing.h"
#include "game/fishie.h"
#include "game/game.h"
#include "game/game_constants.h"
#include "game/seed_weed.h"
#include "game/sub.h"
#include "game/world_task.h"
#include "test_support.h"

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace {

struct Colour {
    int r, g, b, a = 255;
};

const Colour GREY{128, 128, 128};  // the background
const Colour CLEAR{0, 0, 0, 0};
const Colour BLACK{0, 0, 0}, WHITE{255, 255, 255}, RED{255, 0, 0}, GREEN{0, 255, 0};
const Colour BLUE{0, 0, 255}, YELLOW{255, 255, 0}, CYAN{0, 255, 255}, MAGENTA{255, 0, 255};
const Colour ORANGE{255, 128, 0}, PURPLE{128, 0, 255}, TEAL{0, 128, 128}, OLIVE{128, 128, 0};
const Colour NAVY{0, 0, 128}, LIME{128, 255, 0}, PINK{255, 128, 255}, SKY{0, 128, 255};
const Colour DARK_GREEN{0, 128, 0};

// What blending leaves when `top`, modulated by the colour (dim, dim, dim, alpha), covers `under`.
Colour Blend(Colour top, double alpha, Colour under, double dim = 1.0) {
    auto mix = [&](int t, int u) {
        return static_cast<int>(std::lround(t * dim * alpha + u * (1 - alpha)));
    };
    return {mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b)};
}

struct Point {
    double x, y;
};

// An actor's own frame: its position, turned by its angle in degrees.
struct Place {
    double x, y, degrees = 0.0;
    Point operator()(double along, double across) const {
        double a = degrees * std::acos(-1.0) / 180.0;
        return {x + along * std::cos(a) - across * std::sin(a),
                y + along * std::sin(a) + across * std::cos(a)};
    }
};

struct Sample {
    double along, across;
    Colour colour;
};

// The colour expected at a point of the actor's own frame.
Sample At(double along, double across, Colour colour) {
    return {along, across, colour};
}

class ActorDrawTest : public InTempDir {
protected:
    static constexpr int WIDTH = 800;
    static constexpr int HEIGHT = 600;
    static constexpr double PIXELS_PER_UNIT = 200.0;  // the view is 4 x 3 units
    static constexpr double M = 0.005;                // a pixel: how far a sample keeps off an edge

    Kernel* kernel = nullptr;
    VideoUpdate video;
    Game game;
    WorldTask world;
    std::vector<GLuint> textures;

    void SetUp() override {
        if (!HaveDisplay()) {
            GTEST_SKIP() << "needs an X display";
        }
        InTempDir::SetUp();
        kernel = new Kernel;
        VideoUpdate::screenWidth = WIDTH;
        VideoUpdate::screenHeight = HEIGHT;
        VideoUpdate::screenBPP = 16;
        VideoUpdate::screenFullScreen = false;
        ASSERT_TRUE(video.Start());
        game.worldTask = &world;
        std::fill(std::begin(world.my_textures), std::end(world.my_textures),
                  Picture(1, 1, {WHITE}));
        Sub::propState = 0;
        Sub::propTimerDelta = 0.0;
        GlobalTimer::deltaTime = 0.0;
        // The view as the world sets it up: 4 x 3 units around the origin, in the model-view.
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glViewport(0, 0, WIDTH, HEIGHT);
        glOrtho(-2.0, 2.0, -1.5, 1.5, -1.0, 1.0);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glClearColor(GREY.r / 255.0f, GREY.g / 255.0f, GREY.b / 255.0f, 1.0f);
        Clear();
    }
    void TearDown() override {
        if (!kernel) {
            return;
        }
        glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
        Sub::propState = 0;
        Sub::propTimerDelta = 0.0;
        GlobalTimer::deltaTime = 0.0;
        video.Stop();
        delete kernel;
        InTempDir::TearDown();
    }

    // A picture from its texels, top row first, read exactly: nearest filtering, clamped.
    GLuint Picture(int width, int height, const std::vector<Colour>& texels) {
        std::vector<unsigned char> bytes;
        for (const Colour& c : texels) {
            for (int channel : {c.r, c.g, c.b, c.a}) {
                bytes.push_back(static_cast<unsigned char>(channel));
            }
        }
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     bytes.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        textures.push_back(texture);
        return texture;
    }
    GLuint Quarters(Colour upperLeft, Colour upperRight, Colour lowerLeft, Colour lowerRight) {
        return Picture(2, 2, {upperLeft, upperRight, lowerLeft, lowerRight});
    }
    GLuint Rows(Colour top, Colour bottom) { return Picture(1, 2, {top, bottom}); }
    void Give(int image, GLuint texture) { world.my_textures[image] = texture; }
    static void Clear() { glClear(GL_COLOR_BUFFER_BIT); }

    ::testing::AssertionResult Shows(Point p, Colour expected) {
        int px = static_cast<int>(std::floor((p.x + 2.0) * PIXELS_PER_UNIT));
        int py = static_cast<int>(std::floor((p.y + 1.5) * PIXELS_PER_UNIT));
        glFinish();
        glReadBuffer(GL_BACK);
        unsigned char got[4] = {};
        glReadPixels(px, py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, got);
        const int tolerance = 6;
        if (std::abs(got[0] - expected.r) <= tolerance &&
            std::abs(got[1] - expected.g) <= tolerance &&
            std::abs(got[2] - expected.b) <= tolerance) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "at (" << p.x << ", " << p.y << "), pixel (" << px << ", " << py << "): got ("
               << int(got[0]) << ", " << int(got[1]) << ", " << int(got[2]) << "), wanted ("
               << expected.r << ", " << expected.g << ", " << expected.b << ")";
    }
    void Expect(const Place& at, std::initializer_list<Sample> samples) {
        for (const Sample& s : samples) {
            EXPECT_TRUE(Shows(at(s.along, s.across), s.colour))
                << "at (" << s.along << ", " << s.across << ") of the actor";
        }
    }
    // A quad of half-size w x h showing the four colours of its quarters, and nothing around it.
    void ExpectQuad(const Place& at, double w, double h, Colour upperLeft, Colour upperRight,
                    Colour lowerLeft, Colour lowerRight) {
        Expect(at,
               {At(-w / 2, h / 2, upperLeft), At(w / 2, h / 2, upperRight),
                At(-w / 2, -h / 2, lowerLeft), At(w / 2, -h / 2, lowerRight),
                At(-w + M, h - M, upperLeft), At(w - M, h - M, upperRight),
                At(-w + M, -h + M, lowerLeft), At(w - M, -h + M, lowerRight), At(-w - M, 0, GREY),
                At(w + M, 0, GREY), At(0, h + M, GREY), At(0, -h - M, GREY)});
    }
};

// --- The submarine ---

TEST_F(ActorDrawTest, SubBodyIsUprightWithItsSternLeftAndTurnsCounterClockwise) {
    Give(IMG_SUB, Quarters(RED, GREEN, BLUE, YELLOW));
    Give(IMG_PROP1, Picture(1, 1, {CLEAR}));
    for (double angle : {0.0, 30.0, 90.0, -30.0}) {
        SCOPED_TRACE(angle);
        Clear();
        Sub sub;
        sub.x = 0.4, sub.y = -0.3, sub.angle = angle;
        sub.Draw();
        ExpectQuad({0.4, -0.3, angle}, 0.2, 0.1, RED, GREEN, BLUE, YELLOW);
    }
}

TEST_F(ActorDrawTest, PropellerSitsAtTheSternJustBelowTheCentreLineOverTheBody) {
    Give(IMG_SUB, Quarters(RED, GREEN, BLUE, YELLOW));
    Give(IMG_PROP1, Rows(CYAN, MAGENTA));
    for (double angle : {0.0, 90.0}) {
        SCOPED_TRACE(angle);
        Clear();
        Sub sub;
        sub.x = -0.5, sub.y = 0.2, sub.angle = angle;
        sub.Draw();
        // The propeller spans -0.28 to -0.08 along and -0.11 to 0.09 across; its edges are
        // sampled where the body cannot hide them.
        Expect({-0.5, 0.2, angle},
               {At(-0.18, 0.04, CYAN), At(-0.18, -0.06, MAGENTA), At(-0.08 - M, 0.09 - M, CYAN),
                At(-0.08 - M, -0.11 + M, MAGENTA), At(-0.28 + M, 0.09 - M, CYAN),
                At(-0.28 + M, -0.11 + M, MAGENTA), At(-0.24, 0.09 + M, GREY),
                At(-0.24, -0.11 - M, GREY), At(-0.28 - M, 0.0, GREY), At(-0.08 + M, 0.05, RED),
                At(-0.08 + M, -0.05, BLUE)});
    }
}

TEST_F(ActorDrawTest, PropellerFramesRunOneTwoThreeThenTwoUpsideDownAndMoveOnWithTime) {
    Give(IMG_PROP1, Rows(CYAN, MAGENTA));
    Give(IMG_PROP2, Rows(ORANGE, PURPLE));
    Give(IMG_PROP3, Rows(TEAL, OLIVE));
    const Colour top[4] = {CYAN, ORANGE, TEAL, PURPLE};
    const Colour bottom[4] = {MAGENTA, PURPLE, OLIVE, ORANGE};
    for (int state = 0; state < 4; ++state) {
        SCOPED_TRACE(state);
        Clear();
        Sub::propState = state;
        Sub sub;
        sub.angle = 30.0;
        sub.Draw();
        EXPECT_EQ(Sub::propState, state) << "no time passed";
        Expect({0.0, 0.0, 30.0}, {At(-0.18, 0.04, top[state]), At(-0.18, -0.06, bottom[state])});
    }
    // The frame is moved on by the frame's time before it is drawn: 0.25 s is two and a half.
    Clear();
    Sub::propState = 0;
    GlobalTimer::deltaTime = 0.25;
    Sub sub;
    sub.Draw();
    Expect({0.0, 0.0}, {At(-0.18, 0.04, TEAL), At(-0.18, -0.06, OLIVE)});
}

TEST_F(ActorDrawTest, ChompedSubDrawsNothingAndItsPropellerStandsStill) {
    Give(IMG_SUB, Quarters(RED, GREEN, BLUE, YELLOW));
    Give(IMG_PROP1, Rows(CYAN, MAGENTA));
    Sub sub;
    sub.GetChomped();
    GlobalTimer::deltaTime = 0.5;
    sub.Draw();
    EXPECT_EQ(Sub::propState, 0);
    Expect({0.0, 0.0}, {At(0.1, 0.05, GREY), At(-0.1, -0.05, GREY), At(-0.24, 0.04, GREY)});
}

// --- Fishies and the big fish ---

TEST_F(ActorDrawTest, FishieIsATenthOfAUnitSquareTurnedByItsAngle) {
    Give(IMG_FISHIE_RED, Quarters(RED, GREEN, BLUE, YELLOW));
    for (double angle : {0.0, 90.0, -15.0}) {
        SCOPED_TRACE(angle);
        Clear();
        Fishie fishie;
        fishie.x = -1.2, fishie.y = 0.7, fishie.angle = angle;
        fishie.state = FISHIE_EATEN;  // drawn until the pool takes it back
        fishie.Draw();
        ExpectQuad({-1.2, 0.7, angle}, 0.05, 0.05, RED, GREEN, BLUE, YELLOW);
    }
}

// Each layer hides one more quarter of the one below: body, tail, flipper, face.
class ActorDrawBigFishTest : public ActorDrawTest {
protected:
    const Colour tails[3] = {GREEN, DARK_GREEN, LIME};
    const Colour flippers[3] = {BLUE, NAVY, SKY};
    const Colour faces[3] = {YELLOW, ORANGE, PINK};

    void SetUp() override {
        ActorDrawTest::SetUp();
        if (!kernel || HasFatalFailure()) {
            return;
        }
        Give(IMG_FISH_BODY, Picture(1, 1, {RED}));
        for (int i = 0; i < 3; ++i) {
            Give(IMG_FISH_TAIL1 + i, Quarters(CLEAR, tails[i], tails[i], tails[i]));
            Give(IMG_FISH_FLIPPER1 + i, Quarters(CLEAR, CLEAR, flippers[i], flippers[i]));
            Give(IMG_FISH_FACE1 + i, Quarters(CLEAR, CLEAR, CLEAR, faces[i]));
        }
    }
    void DrawFish(double angle, int tail, int flipper, int face) {
        Clear();
        BigFish fish;
        fish.mode = BIGFISH_CHASE;
        fish.x = 0.3, fish.y = -0.2, fish.angle = angle;
        fish.tailFrame = tail, fish.flipperFrame = flipper, fish.faceFrame = face;
        fish.Draw();
    }
};

TEST_F(ActorDrawBigFishTest, LayersAreBodyTailFlipperFaceEachEightTenthsSquare) {
    for (double angle : {0.0, 90.0, 200.0}) {
        SCOPED_TRACE(angle);
        DrawFish(angle, 0, 0, 0);
        ExpectQuad({0.3, -0.2, angle}, 0.4, 0.4, RED, GREEN, BLUE, YELLOW);
    }
}

TEST_F(ActorDrawBigFishTest, PicturesFollowTheTailFlipperAndFaceFrames) {
    const int beat[4] = {0, 1, 0, 2};
    const Place at{0.3, -0.2};
    for (int frame = 0; frame < 4; ++frame) {
        SCOPED_TRACE(frame);
        DrawFish(0.0, frame, 0, 0);
        Expect(at, {At(0.2, 0.2, tails[beat[frame]]), At(-0.2, -0.2, flippers[0])});
        DrawFish(0.0, 0, frame, 0);
        Expect(at, {At(0.2, 0.2, tails[0]), At(-0.2, -0.2, flippers[beat[frame]])});
        if (frame < 3) {
            DrawFish(0.0, 0, 0, frame);
            Expect(at, {At(0.2, -0.2, faces[frame]), At(-0.2, 0.2, RED)});
        }
    }
}

TEST_F(ActorDrawBigFishTest, IdleFishDrawsNothing) {
    BigFish fish;
    fish.x = 0.3, fish.y = -0.2;
    ASSERT_EQ(fish.mode, BIGFISH_IDLE);
    fish.Draw();
    Expect({0.3, -0.2},
           {At(-0.2, 0.2, GREY), At(0.2, 0.2, GREY), At(0.0, 0.0, GREY), At(0.2, -0.2, GREY)});
}

// --- Seed weed: the seed at (-0.6, -1.2), the strands' foot 0.1 below it ---

class ActorDrawSeedWeedTest : public ActorDrawTest {
protected:
    SeedWeed weed;

    void SetUp() override {
        ActorDrawTest::SetUp();
        weed.x = -0.6, weed.y = -1.2;
        weed.strandUnder = 2;
        weed.strandOver = 5;
    }
    // A strand stands 0.4 wide and 1.6 tall on the foot, upright whatever the weed's angle.
    void ExpectStrand(Colour top, Colour bottom, Colour overSeed) {
        Expect({-0.6, -1.3},
               {At(0.0, 1.2, top), At(-0.2 + M, 1.6 - M, top), At(0.2 - M, 1.6 - M, top),
                At(0.0, 0.4, bottom), At(-0.2 + M, M, bottom), At(0.2 - M, M, bottom),
                At(0.05, 0.05, overSeed), At(-0.2 - M, 0.8, GREY), At(0.2 + M, 0.8, GREY),
                At(0.0, 1.6 + M, GREY), At(0.0, -M, GREY)});
    }
};

TEST_F(ActorDrawSeedWeedTest, SeedIsAFifthOfAUnitSquareNeverTurned) {
    Give(IMG_SEEDWEED_SEED, Quarters(RED, GREEN, BLUE, YELLOW));
    for (int i = 0; i < SEEDWEED_STRAND_TYPES; ++i) {
        Give(IMG_SEEDWEED_1 + i, Picture(1, 1, {CLEAR}));
    }
    weed.angle = 90.0;
    weed.DrawUnder();
    ExpectQuad({-0.6, -1.2}, 0.1, 0.1, RED, GREEN, BLUE, YELLOW);
}

TEST_F(ActorDrawSeedWeedTest, BackStrandCoversTheSeedDimmedAndTranslucent) {
    Give(IMG_SEEDWEED_SEED, Picture(1, 1, {NAVY}));
    Give(IMG_SEEDWEED_3, Rows(ORANGE, TEAL));
    weed.angle = 135.0;
    weed.DrawUnder();
    ExpectStrand(Blend(ORANGE, 0.8, GREY, 0.9), Blend(TEAL, 0.8, GREY, 0.9),
                 Blend(TEAL, 0.8, NAVY, 0.9));
}

TEST_F(ActorDrawSeedWeedTest, FrontStrandStandsAloneOnTheSameFootTranslucent) {
    Give(IMG_SEEDWEED_SEED, Picture(1, 1, {NAVY}));
    Give(IMG_SEEDWEED_6, Rows(PINK, LIME));
    weed.angle = 270.0;
    weed.DrawOver();
    ExpectStrand(Blend(PINK, 0.8, GREY), Blend(LIME, 0.8, GREY), Blend(LIME, 0.8, GREY));
}

// --- Billboards ---

TEST_F(ActorDrawTest, BillboardIsDrawnOnlyWhenVisibleAsATwoUnitSquareAfterReset) {
    Give(IMG_TEXT_TOBRIN, Quarters(RED, GREEN, BLUE, YELLOW));
    Billboard board;
    board.image = IMG_TEXT_TOBRIN;
    board.x = 0.3, board.y = -0.2;
    board.Draw();
    Expect({0.3, -0.2},
           {At(-0.5, 0.5, GREY), At(0.5, 0.5, GREY), At(-0.5, -0.5, GREY), At(0.5, -0.5, GREY)});
    board.visible = true;
    board.Draw();
    ExpectQuad({0.3, -0.2}, 1.0, 1.0, RED, GREEN, BLUE, YELLOW);
}

TEST_F(ActorDrawTest, SkewedBillboardCarriesThePicturesCornersToItsCorners) {
    Give(IMG_TEXT_SCORE, Quarters(RED, GREEN, BLUE, YELLOW));
    const Colour corner[4] = {BLUE, RED, YELLOW, GREEN};  // lower left, upper left, ...
    struct Shape {
        double x[4], y[4];
    };
    // A slanted caption, and one stood on its side with its top to the left.
    for (const Shape& shape : {Shape{{-1.2, -0.4, 0.4, 1.2}, {-0.8, 0.8, -0.8, 0.8}},
                               Shape{{0.9, -0.9, 0.9, -0.9}, {-0.9, -0.9, 0.9, 0.9}}}) {
        Clear();
        Billboard board;
        board.image = IMG_TEXT_SCORE;
        board.visible = true;
        board.x = 0.1, board.y = -0.1;
        std::copy(shape.x, shape.x + 4, board.cornerX);
        std::copy(shape.y, shape.y + 4, board.cornerY);
        board.Draw();
        double midX = (shape.x[0] + shape.x[1] + shape.x[2] + shape.x[3]) / 4;
        double midY = (shape.y[0] + shape.y[1] + shape.y[2] + shape.y[3]) / 4;
        for (int i = 0; i < 4; ++i) {
            // A quarter of the way in from the corner lies in that corner's quarter.
            Point near{0.1 + shape.x[i] + (midX - shape.x[i]) / 4,
                       -0.1 + shape.y[i] + (midY - shape.y[i]) / 4};
            EXPECT_TRUE(Shows(near, corner[i])) << "corner " << i;
        }
    }
}

// --- The circle zoom ---

class ActorDrawCircleZoomTest : public ActorDrawTest {
protected:
    CircleZoom zoom;

    // The frame picture: a magenta ring, its upper-left texel cyan, round a clear middle.
    void SetUp() override {
        ActorDrawTest::SetUp();
        if (!kernel || HasFatalFailure()) {
            return;
        }
        std::vector<Colour> texels(16, MAGENTA);
        texels[0] = CYAN;
        texels[5] = texels[6] = texels[9] = texels[10] = CLEAR;
        Give(IMG_CIRCLE_FRAME, Picture(4, 4, texels));
    }
    void DrawAt(double x, double y, double radius) {
        Clear();
        zoom.x = x, zoom.y = y, zoom.radius = radius;
        zoom.Draw();
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    }
};

// Centred up and to the right, so that a drawn cover or frame ring would fill the view.
TEST_F(ActorDrawCircleZoomTest, InactiveOrFullyOpenDrawsNothing) {
    for (double radius : {0.0, 0.6, 5.0, 6.0}) {
        SCOPED_TRACE(radius);
        if (radius >= 5.0) {
            zoom.ZoomOut(nullptr, nullptr);
        }
        DrawAt(3.5, 2.5, radius);
        Expect({0.0, 0.0}, {At(0.0, 0.0, GREY), At(-1.0, -1.0, GREY), At(-1.9, 1.4, GREY),
                            At(1.9, -1.4, GREY)});
    }
}

TEST_F(ActorDrawCircleZoomTest, ClosedCircleBlacksOutEightBySixAroundTheCentre) {
    zoom.ZoomIn(nullptr, nullptr);
    DrawAt(2.5, 1.8, 0.0);  // the cover's lower left corner at (-1.5, -1.2)
    Expect({0.0, 0.0}, {At(-1.5 + M, -1.2 + M, BLACK), At(1.9, 1.4, BLACK), At(0.0, 0.0, BLACK),
                        At(1.95, -1.2 + M, BLACK), At(-1.5 - M, 0.0, GREY), At(0.0, -1.2 - M, GREY),
                        At(-1.9, -1.4, GREY)});
    DrawAt(-2.5, -1.8, 0.0);  // the upper right corner at (1.5, 1.2)
    Expect({0.0, 0.0}, {At(1.5 - M, 1.2 - M, BLACK), At(-1.9, -1.4, BLACK), At(1.5 + M, 0.0, GREY),
                        At(0.0, 1.2 + M, GREY)});
}

TEST_F(ActorDrawCircleZoomTest, OpeningShowsTheFramePictureInASquareOfTheRadius) {
    zoom.ZoomIn(nullptr, nullptr);
    DrawAt(0.2, -0.1, 0.6);  // texels 0.3 units wide
    Expect({0.2, -0.1}, {At(-0.45, 0.45, CYAN), At(0.45, 0.45, MAGENTA), At(-0.45, -0.45, MAGENTA),
                         At(0.6 - M, 0.15, MAGENTA), At(0.15, 0.15, GREY), At(-0.15, -0.15, GREY),
                         At(0.6 + M, 0.0, BLACK), At(-0.6 - M, 0.0, BLACK), At(0.0, 0.6 + M, BLACK),
                         At(0.0, -0.6 - M, BLACK), At(0.62, 0.62, BLACK), At(-0.62, -0.62, BLACK),
                         At(-2.1, 1.5, BLACK), At(1.7, -1.3, BLACK)});
}

TEST_F(ActorDrawCircleZoomTest, OpeningCoverEndsFourAcrossAndThreeUpFromTheCentre) {
    zoom.ZoomIn(nullptr, nullptr);
    DrawAt(2.5, 1.8, 1.0);  // the square from (1.5, 0.8) up, the cover from (-1.5, -1.2)
    Expect({0.0, 0.0},
           {At(1.5 + M, 0.8 + M, MAGENTA), At(1.5 - M, 1.0, BLACK), At(1.75, 0.8 - M, BLACK),
            At(-1.5 + M, -1.2 + M, BLACK), At(-1.5 - M, 0.0, GREY), At(0.0, -1.2 - M, GREY)});
}

// --- What every drawing leaves behind ---

TEST_F(ActorDrawTest, EveryDrawLeavesTheMatrixAndTexturingAsFound) {
    Give(IMG_WAVE, Picture(1, 1, {ORANGE}));
    glTranslated(-0.3, 0.2, 0.0);  // a camera
    glScaled(0.5, 0.5, 1.0);
    // Each away from the origin and turned, so that a transform left behind would show.
    Sub sub;
    Fishie fishie;
    BigFish fish;
    SeedWeed weed;
    Billboard board;
    CircleZoom closed, opening;
    for (Entity* actor :
         std::initializer_list<Entity*>{&sub, &fishie, &fish, &weed, &board, &closed, &opening}) {
        actor->x = 0.3, actor->y = -0.4, actor->angle = 25.0;
    }
    fish.mode = BIGFISH_ESCORT;
    board.visible = true;
    closed.ZoomIn(nullptr, nullptr), closed.radius = 0.0;
    opening.ZoomIn(nullptr, nullptr), opening.radius = 1.0;
    std::function<void()> draws[] = {[&] { sub.Draw(); },      [&] { fishie.Draw(); },
                                     [&] { fish.Draw(); },     [&] { weed.DrawUnder(); },
                                     [&] { weed.DrawOver(); }, [&] { board.Draw(); },
                                     [&] { closed.Draw(); },   [&] { opening.Draw(); }};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        double before[16], after[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, before);
        Clear();
        draws[i]();
        glGetDoublev(GL_MODELVIEW_MATRIX, after);
        EXPECT_TRUE(std::equal(before, before + 16, after));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        // A picture drawn next lands where the camera puts it, textured.
        DrawImageQuad(IMG_WAVE, 3.0, 2.0, 3.2, 1.8);
        EXPECT_TRUE(Shows({-0.3 + 0.5 * 3.1, 0.2 + 0.5 * 1.9}, ORANGE));
    }
}

}  // namespace
