// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the world: the ocean and sky, the waves, the actors between the two layers of the
// weed, the score or the menu, the circle and the paused banner.
#include <GL/gl.h>

#include <cmath>

#include "engine/singleton.h"
#include "engine/video_update.h"
#include "game/drawing.h"
#include "game/game.h"
#include "game/game_constants.h"
#include "game/world_task.h"

namespace {

const int WAVE_TILES = 24;
const double WAVE_WIDTH = 0.4;   // units, also the waves' scroll period
const double WAVE_HEIGHT = 0.1;  // units above the surface
const double DIGIT_STEP = 0.15;  // units between the centres of two digits
const int SCORE_DIGITS = 8;
const double SKY_LOWEST_CAMERA = -1.8;  // units: with the camera this deep, no sky shows
const double SEA_DEPTH = 50.0;          // units the water takes to fade to black

// A rectangle in one colour, or in two colours from top to bottom.
void ColourQuad(double left, double top, double right, double bottom, const float topColour[4],
                const float bottomColour[4]) {
    glBegin(GL_QUADS);
    glColor4fv(topColour);
    glVertex2d(left, top);
    glColor4fv(bottomColour);
    glVertex2d(left, bottom);
    glVertex2d(right, bottom);
    glColor4fv(topColour);
    glVertex2d(right, top);
    glEnd();
}

}  // namespace

void WorldTask::SetDrawingState() {
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

// The view is always 4 by 3 units, whatever the window's shape; it lives in the model-view
// matrix, under every push and pop that follows.
void WorldTask::LoadGLStandard() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, VideoUpdate::screenWidth, VideoUpdate::screenHeight);
    double halfHeight = WORLD_ZOOM_VALUE;
    double halfWidth = ZOOM_X_POSITION * halfHeight;
    glOrtho(-halfWidth, halfWidth, -halfHeight, halfHeight, -1.0, 1.0);
}

void WorldTask::DrawGame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    LoadGLStandard();
    DrawOcean();

    glPushMatrix();
    glTranslatef(static_cast<float>(-my_camera.x), static_cast<float>(-my_camera.y), 0.0f);
    my_seedWeeds.Iterate(DrawSeedWeedUnder);
    my_fishies.Iterate(DrawFishie);
    my_bigFish.Draw();
    my_sub.Draw();
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

    glPushMatrix();
    my_gameBillboards[0].Draw();
    glPopMatrix();
}

// The sea and sky follow the camera only up and down; the waves scroll with the submarine.
void WorldTask::DrawOcean() {
    static const float SURFACE_BLUE[4] = {0.0f, 0.2f, 1.0f, 1.0f};
    static const float DEEP_BLACK[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    static const float SKY_BLUE[4] = {0.0f, 0.75f, 1.0f, 1.0f};
    glPushMatrix();
    glDisable(GL_TEXTURE_2D);
    glTranslatef(0.0f, static_cast<float>(-my_camera.y), 0.0f);
    BeginOpaque();
    ColourQuad(-2.0, 0.0, 2.0, -SEA_DEPTH, SURFACE_BLUE, DEEP_BLACK);
    if (my_camera.y > SKY_LOWEST_CAMERA) {
        ColourQuad(-2.0, 2.0, 2.0, 0.0, SKY_BLUE, SKY_BLUE);
    }
    EndOpaque();
    glEnable(GL_TEXTURE_2D);
    glTranslatef(static_cast<float>(-std::fmod(my_sub.x, WAVE_WIDTH)), 0.0f, 0.0f);
    glTranslatef(static_cast<float>(-WAVE_TILES * WAVE_WIDTH / 2), 0.0f, 0.0f);
    for (int i = 0; i < WAVE_TILES; ++i) {
        DrawImageQuad(IMG_WAVE, 0.0, WAVE_HEIGHT, WAVE_WIDTH, 0.0, SURFACE_BLUE[0], SURFACE_BLUE[1],
                      SURFACE_BLUE[2], SURFACE_BLUE[3]);
        glTranslatef(static_cast<float>(WAVE_WIDTH), 0.0f, 0.0f);
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
    glTranslatef(0.0f, static_cast<float>(-DIGIT_STEP), 0.0f);
    const double half = DIGIT_STEP / 2;
    for (int i = 0; i < SCORE_DIGITS; ++i) {
        glTranslatef(static_cast<float>(-DIGIT_STEP), 0.0f, 0.0f);
        int digit = static_cast<int>(value % 10);
        value /= 10;
        DrawImageQuad(IMG_NUM_0 + digit, -half, half, half, -half);
    }
    glPopMatrix();
}

// The score in the bottom right corner of the view.
void WorldTask::DrawHUD() {
    glPushMatrix();
    glTranslatef(2.0f, -1.275f, 0.0f);
    DrawScore(my_score);
    glPopMatrix();
}

// The high score on the row above the last game's score, right-aligned like the game's.
void WorldTask::DrawMenu() {
    for (Billboard& billboard : my_menuBillboards) {
        billboard.Draw();
    }
    glPushMatrix();
    glTranslatef(2.0f, -1.125f, 0.0f);
    DrawScore(my_highScore);
    glTranslatef(0.0f, static_cast<float>(-DIGIT_STEP), 0.0f);
    DrawScore(my_lastScore);
    glPopMatrix();
}

// Most of the pools' actors are out of view, ahead or behind; they are passed over at once.
namespace {

bool InView(double left, double bottom, double right, double top) {
    const Camera& camera = Singleton<Game>::GetPointer()->worldTask->my_camera;
    double halfHeight = WORLD_ZOOM_VALUE;
    double halfWidth = ZOOM_X_POSITION * halfHeight;
    return right >= camera.x - halfWidth && left <= camera.x + halfWidth &&
           top >= camera.y - halfHeight && bottom <= camera.y + halfHeight;
}

// A turned fishie stays within its corners' distance of its centre.
bool FishieInView(const Fishie& fishie) {
    double reach = FISHIE_HALF_SIZE * std::sqrt(2.0);
    return InView(fishie.x - reach, fishie.y - reach, fishie.x + reach, fishie.y + reach);
}

// The seed and both strands, which stand on the seed's bottom edge.
bool SeedWeedInView(const SeedWeed& weed) {
    double foot = weed.y - SEEDWEED_DRAW_SIZE;
    return InView(weed.x - SEEDWEED_DRAW_WIDTH, foot - SEEDWEED_DRAW_SIZE,
                  weed.x + SEEDWEED_DRAW_WIDTH, foot + SEEDWEED_DRAW_HEIGHT);
}

}  // namespace

void DrawFishie(Fishie* fishie) {
    if (FishieInView(*fishie)) {
        fishie->Draw();
    }
}
void DrawSeedWeedUnder(SeedWeed* weed) {
    if (SeedWeedInView(*weed)) {
        weed->DrawUnder();
    }
}
void DrawSeedWeedOver(SeedWeed* weed) {
    if (SeedWeedInView(*weed)) {
        weed->DrawOver();
    }
}
