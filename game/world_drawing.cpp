// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the world: the ocean and sky, the waves, the actors between the two layers of the
// weed, the score or the menu, the circle and the paused banner.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "engine/input_task.h"
#include "engine/video_update.h"
#include "game/drawing.h"
#include "game/game_constants.h"
#include "game/pool_callbacks.h"
#include "game/world_task.h"

namespace {

const float SURFACE_BLUE[4] = {0.0f, 0.2f, 1.0f, 1.0f};
const float DEEP_BLACK[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const float SKY_BLUE[4] = {0.0f, 0.75f, 1.0f, 1.0f};

// The largest 4:3 rectangle of a window, centred, in pixels.
struct ViewRect {
    int x, y, width, height;
};

ViewRect ViewInWindow(int width, int height) {
    int viewWidth = std::min(width, static_cast<int>(std::lround(height * ZOOM_X_POSITION)));
    int viewHeight = std::min(height, static_cast<int>(std::lround(width / ZOOM_X_POSITION)));
    return {(width - viewWidth) / 2, (height - viewHeight) / 2, viewWidth, viewHeight};
}

// A rectangle in one colour, or in two colours from top to bottom.
void ColourQuad(double left, double top, double right, double bottom, const float topColour[4],
                const float bottomColour[4]) {
    // Every vertex gets its colour: the browser's OpenGL lays colours and corners out in one
    // stream, where a corner without its own colour would take the next one's.
    glBegin(GL_QUADS);
    glColor4fv(topColour);
    VertexAt(left, top);
    glColor4fv(bottomColour);
    VertexAt(left, bottom);
    glColor4fv(bottomColour);
    VertexAt(right, bottom);
    glColor4fv(topColour);
    VertexAt(right, top);
    glEnd();
}

}  // namespace

void WorldTask::SetDrawingState() {
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// The view is always 4 by 3 units, whatever the window's shape, drawn into the largest 4:3
// rectangle of the window, centred, so circles stay round; the frame's clear leaves the bars
// beside or above and below it black. The view lives in the model-view matrix, under every
// push and pop that follows.
void WorldTask::LoadGLStandard() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ViewRect view = ViewInWindow(VideoUpdate::screenWidth, VideoUpdate::screenHeight);
    glViewport(view.x, view.y, view.width, view.height);
    glOrtho(-WORLD_VIEW_HALF_WIDTH, WORLD_VIEW_HALF_WIDTH, -WORLD_ZOOM_VALUE, WORLD_ZOOM_VALUE,
            -1.0, 1.0);
}

// The sky fills the view above the sea unless the camera is too deep for it or so high that
// its top shows; the sea always reaches below the view. When the view is the whole window, a
// frame cleared to the sky's colour needs no sky drawn: the renderer fills a cleared tile at
// once, where a quad costs it every pixel.
bool WorldTask::SkyClearsFrame() const {
    int width = VideoUpdate::screenWidth, height = VideoUpdate::screenHeight;
    ViewRect view = ViewInWindow(width, height);
    return view.width == width && view.height == height && my_camera.y > DRAW_SKY_LOWEST_CAMERA &&
           my_camera.y + WORLD_ZOOM_VALUE <= DRAW_SKY_HEIGHT;
}

// The frame cleared, the view set up, and the sea, the sky and the waves drawn.
void WorldTask::DrawBackground() {
    bool skyCleared = SkyClearsFrame();
    const float* clear = skyCleared ? SKY_BLUE : DEEP_BLACK;
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    glClear(GL_COLOR_BUFFER_BIT);
    LoadGLStandard();
    DrawOcean(skyCleared);
}

// The frame goes to the renderer whole, at the swap, which waits for it. Mesa's software
// renderer frees a frame flushed earlier without a wait while its threads may still hold it,
// and the game then crashes in a later allocation.
void WorldTask::DrawGame(double frameTime) {
    DrawBackground();

    glPushMatrix();
    glTranslatef(static_cast<float>(-my_camera.x), static_cast<float>(-my_camera.y), 0.0f);
    my_seedWeeds.Iterate(DrawSeedWeedUnder);
    my_fishies.Iterate(DrawFishie);
    my_bigFish.Draw();
    my_sub.Draw(frameTime);
    my_seedWeeds.Iterate(DrawSeedWeedOver);
    glPopMatrix();

    if (my_mode != MODE_MENU) {
        DrawHUD();
    } else {
        DrawMenu();
    }

    glPushMatrix();
    glTranslatef(static_cast<float>(-my_camera.x), static_cast<float>(-my_camera.y), 0.0f);
    my_circleZoom.Draw();
    glPopMatrix();

    for (Billboard& banner : my_gameBillboards) {
        glPushMatrix();
        banner.Draw();
        glPopMatrix();
    }
}

// The sea and sky follow the camera only up and down; the waves scroll with the submarine.
void WorldTask::DrawOcean(bool skyCleared) {
    glPushMatrix();
    glDisable(GL_TEXTURE_2D);
    glTranslatef(0.0f, static_cast<float>(-my_camera.y), 0.0f);
    BeginOpaque();
    const double half = WORLD_VIEW_HALF_WIDTH;
    ColourQuad(-half, 0.0, half, -DRAW_SEA_DEPTH, SURFACE_BLUE, DEEP_BLACK);
    if (my_camera.y > DRAW_SKY_LOWEST_CAMERA && !skyCleared) {
        ColourQuad(-half, DRAW_SKY_HEIGHT, half, 0.0, SKY_BLUE, SKY_BLUE);
    }
    EndOpaque();
    glEnable(GL_TEXTURE_2D);
    glTranslatef(static_cast<float>(-std::fmod(my_sub.x, DRAW_WAVE_WIDTH)), 0.0f, 0.0f);
    glTranslatef(static_cast<float>(-DRAW_WAVE_TILES * DRAW_WAVE_WIDTH / 2), 0.0f, 0.0f);
    for (int i = 0; i < DRAW_WAVE_TILES; ++i) {
        DrawImageQuad(IMG_WAVE, 0.0, DRAW_WAVE_HEIGHT, DRAW_WAVE_WIDTH, 0.0, SURFACE_BLUE[0],
                      SURFACE_BLUE[1], SURFACE_BLUE[2], SURFACE_BLUE[3]);
        glTranslatef(static_cast<float>(DRAW_WAVE_WIDTH), 0.0f, 0.0f);
    }
    glPopMatrix();
}

// Eight digits, leading zeros included, right to left from the ones digit centred 0.15 left of
// and 0.15 below the origin. Only the last eight digits of a larger number show; a negative
// number (a hand-edited high score, say) shows as zero.
void WorldTask::DrawScore(long value) {
    if (value < 0) {
        value = 0;
    }
    glPushMatrix();
    glTranslatef(0.0f, static_cast<float>(-DRAW_DIGIT_STEP), 0.0f);
    const double half = DRAW_DIGIT_STEP / 2;
    for (int i = 0; i < DRAW_SCORE_DIGITS; ++i) {
        glTranslatef(static_cast<float>(-DRAW_DIGIT_STEP), 0.0f, 0.0f);
        int digit = static_cast<int>(value % 10);
        value /= 10;
        DrawImageQuad(IMG_NUM_0 + digit, -half, half, half, -half);
    }
    glPopMatrix();
}

// The score in the bottom right corner of the view.
void WorldTask::DrawHUD() {
    glPushMatrix();
    glTranslatef(DRAW_SCORE_X, DRAW_SCORE_Y, 0.0f);
    DrawScore(my_score);
    glPopMatrix();
}

// The high score on the row above the last game's score, right-aligned like the game's.
void WorldTask::DrawMenu() {
    for (Billboard& billboard : my_menuBillboards) {
        billboard.Draw();
    }
    glPushMatrix();
    glTranslatef(DRAW_SCORE_X, DRAW_HIGH_SCORE_Y, 0.0f);
    DrawScore(my_highScore);
    glTranslatef(0.0f, static_cast<float>(-DRAW_DIGIT_STEP), 0.0f);
    DrawScore(my_lastScore);
    glPopMatrix();
}

// The point of the last press, from window pixels into the view's units.
bool WorldTask::PointerOnCaption() const {
    const Billboard& caption = my_menuBillboards[MENU_CAPTION_BILLBOARD];
    ViewRect view = ViewInWindow(VideoUpdate::screenWidth, VideoUpdate::screenHeight);
    if (!CaptionOffersBestGame() || view.width <= 0 || view.height <= 0) {
        return false;
    }
    double x = (InputTask::pointerX - view.x) * 2.0 * WORLD_VIEW_HALF_WIDTH / view.width -
               WORLD_VIEW_HALF_WIDTH;
    double y =
        WORLD_ZOOM_VALUE - (InputTask::pointerY - view.y) * 2.0 * WORLD_ZOOM_VALUE / view.height;
    return x >= caption.x + caption.cornerX[0] && x <= caption.x + caption.cornerX[2] &&
           y >= caption.y + caption.cornerY[0] && y <= caption.y + caption.cornerY[1];
}

bool WorldTask::InView(double left, double bottom, double right, double top) const {
    return right >= my_camera.x - WORLD_VIEW_HALF_WIDTH &&
           left <= my_camera.x + WORLD_VIEW_HALF_WIDTH && top >= my_camera.y - WORLD_ZOOM_VALUE &&
           bottom <= my_camera.y + WORLD_ZOOM_VALUE;
}
