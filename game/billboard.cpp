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
    // Upper left, lower left, lower right, upper right, as every quad of the game.
    const double quadX[4] = {cornerX[1], cornerX[0], cornerX[2], cornerX[3]};
    const double quadY[4] = {cornerY[1], cornerY[0], cornerY[2], cornerY[3]};
    DrawImageCorners(image, quadX, quadY);
    glPopMatrix();
}
