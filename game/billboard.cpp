// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/billboard.h"

#include <GL/gl.h>

#include <cmath>

#include "game/drawing.h"
#include "game/game_constants.h"

void Billboard::Reset() {
    visible = false;
    image = 1;
    const double resetX[4] = {-1, -1, 1, 1};
    const double resetY[4] = {-1, 1, -1, 1};
    for (int i = 0; i < 4; ++i) {
        cornerX[i] = resetX[i];
        cornerY[i] = resetY[i];
    }
    approachRate = 1.0;
}

void Billboard::Update(double dT) {
    double fraction = 1 - std::pow(BILLBOARD_CHANGE_AMOUNT, approachRate * dT);
    x += fraction * (destinationX - x);
    y += fraction * (destinationY - y);
}

void Billboard::Draw() {
    if (!visible) {
        return;
    }
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    BindImage(image);
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Upper left, lower left, lower right, upper right, as every quad of the game.
    const int ORDER[4] = {1, 0, 2, 3};
    const float TEXTURE_S[4] = {0, 0, 1, 1};
    const float TEXTURE_T[4] = {0, 1, 1, 0};
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(TEXTURE_S[i], TEXTURE_T[i]);
        glVertex2f(static_cast<float>(cornerX[ORDER[i]]), static_cast<float>(cornerY[ORDER[i]]));
    }
    glEnd();
    glPopMatrix();
}
