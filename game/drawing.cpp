// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/drawing.h"

#include <GL/gl.h>

#include "game/world_view.h"

void BindImage(int image) {
    glBindTexture(GL_TEXTURE_2D, TheWorld().TextureOf(image));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void DrawImageQuad(int image, double left, double top, double right, double bottom, float red,
                   float green, float blue, float alpha, bool mirrored) {
    float upper = mirrored ? 1.0f : 0.0f;
    float lower = 1.0f - upper;
    BindImage(image);
    glColor4f(red, green, blue, alpha);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, upper);
    glVertex2d(left, top);
    glTexCoord2f(0.0f, lower);
    glVertex2d(left, bottom);
    glTexCoord2f(1.0f, lower);
    glVertex2d(right, bottom);
    glTexCoord2f(1.0f, upper);
    glVertex2d(right, top);
    glEnd();
}
