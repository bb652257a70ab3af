// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing one of the world's pictures as a textured quad.
#pragma once

#include <cstdint>

#include "game/assets.h"
#include "game/game_constants.h"

// What of a picture can show, measured when it is loaded. Most pictures are largely clear:
// the texture keeps only the part that shows with a clear margin (the crop), and a grid of
// cells over the crop tells, for each of the first mipmap levels, which cells hold anything
// that shows at that level. Drawing touches only those pixels; the clear rest would leave the
// picture as it was, at the cost of reading the texture and blending for every pixel.
struct ImageCoverage {
    std::uint32_t texture = 0;  // the texture this describes; any other is drawn whole
    int width = 0;              // texels of the whole picture
    int height = 0;
    int cropX = 0;  // the crop, in texels of the whole picture, top row first
    int cropY = 0;
    int cropWidth = 0;
    int cropHeight = 0;
    int cellWidth = 0;  // texels; the last column and row may be narrower
    int cellHeight = 0;
    int columns = 0;
    int rows = 0;
    // Bit c of cells[level][r]: cell (c, r) shows when sampled at that mipmap level or above.
    std::uint32_t cells[DRAWING_COVERAGE_LEVELS][DRAWING_COVERAGE_CELLS] = {};
};

// A vertex in the current frame. In single precision, as the renderer keeps it anyway, and as
// the browser's OpenGL has it.
void VertexAt(double x, double y);

// Binds the world's texture for a picture, modulated by the current colour.
void BindImage(int image);

// One quad in immediate mode from (left, top) to (right, bottom) in the current frame, the
// picture's top row at the top. Vertices go upper left, lower left, lower right, upper right.
// Mirrored turns the picture upside down.
void DrawImageQuad(int image, double left, double top, double right, double bottom,
                   float red = 1.0f, float green = 1.0f, float blue = 1.0f, float alpha = 1.0f,
                   bool mirrored = false);

// The picture on four free corners, given upper left, lower left, lower right, upper right,
// in the current colour.
void DrawImageCorners(int image, const double (&x)[4], const double (&y)[4]);

// What is drawn between these two shows only below a height of the current frame, in its
// units: the sea's surface, for what grows under it. The frame must not be turned.
void BeginBelow(double height);
void EndBelow();

// Untextured quads that cover what lies under them need no blending.
void BeginOpaque();
void EndOpaque();
