// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/circle_zoom.h"

#include <GL/gl.h>

#include "game/drawing.h"
#include "game/game_constants.h"

namespace {

void BlackQuad(double left, double top, double right, double bottom) {
    // Before glBegin: inside, the browser's OpenGL would want a colour before every corner.
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    VertexAt(left, top);
    VertexAt(left, bottom);
    VertexAt(right, bottom);
    VertexAt(right, top);
    glEnd();
}

}  // namespace

void CircleZoom::Reset() {
    radius = CIRCLEZOOM_MAXIMUM;
    speed = CIRCLEZOOM_SPEED;
    zoomingOut = 0;
    active = false;
}

void CircleZoom::ZoomIn(double* followX, double* followY) {
    centreX = followX;
    centreY = followY;
    zoomingOut = 0;
    active = true;
}

void CircleZoom::ZoomOut(double* followX, double* followY) {
    centreX = followX;
    centreY = followY;
    zoomingOut = 1;
    active = true;
}

// A closed circle stays active, holding the screen black until its owner starts another zoom.
void CircleZoom::Update(double dT) {
    if (active && !zoomingOut) {
        if (radius > 0) {
            radius -= speed * dT;
        }
        if (radius <= 0) {
            radius = 0;
        }
    } else if (active) {
        if (radius < CIRCLEZOOM_MAXIMUM) {
            radius += speed * dT;
        }
        if (radius >= CIRCLEZOOM_MAXIMUM) {
            radius = CIRCLEZOOM_MAXIMUM;
            active = false;
        }
    }
    if (centreX) {
        x = *centreX;
    }
    if (centreY) {
        y = *centreY;
    }
}

void CircleZoom::Draw() {
    if (!active || radius >= CIRCLEZOOM_MAXIMUM) {
        return;
    }
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    if (radius <= 0) {
        DrawClosed();
    } else {
        DrawOpening();
    }
    EndOpaque();
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();
}

void CircleZoom::DrawClosed() {
    glDisable(GL_TEXTURE_2D);
    BeginOpaque();
    BlackQuad(-CIRCLEZOOM_COVER_HALF_WIDTH, CIRCLEZOOM_COVER_HALF_HEIGHT,
              CIRCLEZOOM_COVER_HALF_WIDTH, -CIRCLEZOOM_COVER_HALF_HEIGHT);
}

// The circle-frame picture gives the round edge inside a square of half-side r; four bands
// black out the rest of the cover around it.
void CircleZoom::DrawOpening() {
    const double r = radius;
    const double w = CIRCLEZOOM_COVER_HALF_WIDTH;
    const double h = CIRCLEZOOM_COVER_HALF_HEIGHT;
    const double overlap = CIRCLEZOOM_BAND_OVERLAP;
    DrawImageQuad(IMG_CIRCLE_FRAME, -r, r, r, -r);
    glDisable(GL_TEXTURE_2D);
    BeginOpaque();
    BlackQuad(-w, h, -r, -h);                      // left
    BlackQuad(r, h, w, -h);                        // right
    BlackQuad(-r - overlap, -r, r + overlap, -h);  // lower
    BlackQuad(-r - overlap, h, r + overlap, r);    // upper
}
