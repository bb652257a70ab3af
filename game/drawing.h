// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing one of the world's pictures as a textured quad.
#pragma once

#include "game/assets.h"

// Binds the world's texture for a picture, modulated by the current colour.
void BindImage(int image);

// One quad in immediate mode from (left, top) to (right, bottom) in the current frame, the
// picture's top row at the top. Vertices go upper left, lower left, lower right, upper right.
// Mirrored turns the picture upside down.
void DrawImageQuad(int image, double left, double top, double right, double bottom,
                   float red = 1.0f, float green = 1.0f, float blue = 1.0f, float alpha = 1.0f,
                   bool mirrored = false);
