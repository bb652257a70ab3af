// SPDX-License-Identifier: GPL-3.0-or-later
// Software renderers pay for every pixel a quad covers, clear or not: texture reads and
// blending. Quads are therefore drawn only where they are in view and only over the parts of
// their pictures that show; what is left out would not have changed a pixel.
#include "game/drawing.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "game/world_view.h"

namespace {

struct Point {
    double x, y;
};

Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point operator*(Point a, double f) {
    return {a.x * f, a.y * f};
}

// From the current frame to window pixels, as OpenGL maps a vertex.
struct WindowMapping {
    float matrix[16];  // projection times model-view, by columns
    GLint viewport[4];

    WindowMapping() {
        float model[16];
        float projection[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, model);
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                float sum = 0.0f;
                for (int k = 0; k < 4; ++k) {
                    sum += projection[k * 4 + row] * model[column * 4 + k];
                }
                matrix[column * 4 + row] = sum;
            }
        }
    }
    Point Map(Point p) const {
        double x = matrix[0] * p.x + matrix[4] * p.y + matrix[12];
        double y = matrix[1] * p.x + matrix[5] * p.y + matrix[13];
        double w = matrix[3] * p.x + matrix[7] * p.y + matrix[15];
        return {viewport[0] + (x / w + 1.0) * 0.5 * viewport[2],
                viewport[1] + (y / w + 1.0) * 0.5 * viewport[3]};
    }
};

// Window pixels spanned by some points.
struct PixelBox {
    double left = HUGE_VAL, bottom = HUGE_VAL, right = -HUGE_VAL, top = -HUGE_VAL;
    void Add(Point p) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        bottom = std::min(bottom, p.y), top = std::max(top, p.y);
    }
    // With a pixel to spare on every side for the rasteriser's rounding.
    bool Meets(const GLint (&viewport)[4]) const {
        return right + 1.0 >= viewport[0] && left - 1.0 <= viewport[0] + viewport[2] &&
               top + 1.0 >= viewport[1] && bottom - 1.0 <= viewport[1] + viewport[3];
    }
};

// A picture drawn whole, as one cell: for a texture loaded without a map of what shows.
ImageCoverage WholePicture() {
    ImageCoverage whole;
    whole.width = whole.height = whole.cropWidth = whole.cropHeight = 1;
    return whole;
}

const ImageCoverage* CoverageOf(int image) {
    const WorldView& world = TheWorld();
    const ImageCoverage& coverage = world.Coverage(image);
    bool known = coverage.texture != 0 && coverage.texture == world.TextureOf(image);
    return known ? &coverage : nullptr;
}

// The deepest mipmap level the renderer may read for a picture of the given size whose s and
// t axes span these window vectors: the rate of texels to pixels along the direction the
// picture is shrunk most, with a level to spare for trilinear filtering and rounding.
int DeepestLevel(Point sAxis, Point tAxis, int width, int height) {
    Point a = sAxis * (1.0 / width);  // pixels per texel
    Point b = tAxis * (1.0 / height);
    double aa = a.x * a.x + a.y * a.y;
    double bb = b.x * b.x + b.y * b.y;
    double ab = a.x * b.x + a.y * b.y;
    double least = 0.5 * (aa + bb - std::sqrt((aa - bb) * (aa - bb) + 4.0 * ab * ab));
    if (least <= 0.0) {
        return DRAWING_COVERAGE_LEVELS;
    }
    double lod = -0.5 * std::log2(least);
    return std::max(0, static_cast<int>(std::ceil(lod))) + 1;
}

// A picture over a parallelogram: the texel (s, t) of the whole picture, s and t from 0 to 1
// and t = 0 its top row, lies at origin + across * s + down * t; mirrored, at
// origin + across * s + down * (1 - t).
class Parallelogram {
public:
    Point origin, across, down;
    bool mirrored = false;

    // A part of the crop, in its texels, in the order every quad of the game takes.
    void Vertices(const ImageCoverage& c, int x0, int y0, int x1, int y1) const {
        int top = mirrored ? y1 : y0;
        int bottom = mirrored ? y0 : y1;
        Vertex(c, x0, top);
        Vertex(c, x0, bottom);
        Vertex(c, x1, bottom);
        Vertex(c, x1, top);
    }
    Point At(double s, double t) const {
        return origin + across * s + down * (mirrored ? 1 - t : t);
    }

private:
    void Vertex(const ImageCoverage& c, int x, int y) const {
        glTexCoord2f(static_cast<float>(x) / c.cropWidth, static_cast<float>(y) / c.cropHeight);
        Point p = At(static_cast<double>(c.cropX + x) / c.width,
                     static_cast<double>(c.cropY + y) / c.height);
        VertexAt(p.x, p.y);
    }
};

// The cell map at a level with its cells joined into blocks of columns by rows: every quad
// costs the renderer a set-up and the partly covered pixels along its edges, which outweigh
// the clear pixels a block more than a few pixels wide would leave out.
struct CellGrid {
    std::uint32_t rows[DRAWING_COVERAGE_CELLS] = {};
    int columns = 0, rowCount = 0;
    int cellWidth = 0, cellHeight = 0;  // texels
};

CellGrid JoinCells(const ImageCoverage& c, int level, int columns, int rows) {
    CellGrid grid;
    grid.cellWidth = c.cellWidth * columns;
    grid.cellHeight = c.cellHeight * rows;
    grid.columns = (c.columns + columns - 1) / columns;
    grid.rowCount = (c.rows + rows - 1) / rows;
    const std::uint32_t block = (std::uint64_t{1} << columns) - 1;
    for (int row = 0; row < c.rows; ++row) {
        std::uint32_t bits = c.cells[level][row];
        for (int column = 0; bits; ++column, bits = columns < 32 ? bits >> columns : 0) {
            if (bits & block) {
                grid.rows[row / rows] |= std::uint32_t{1} << column;
            }
        }
    }
    return grid;
}

// Every block of the grid that shows, as a rectangle of crop texels. Rows alike are joined
// into bands, and neighbours in a band into one rectangle, but only between columns where
// some row starts or ends a run: the rectangles then form a grid of bands by runs of columns,
// and any two that meet share a whole edge, so that no pixel on a seam between them is lost
// or drawn twice, as it could be where one quad's corner lay on another's edge.
template <typename Visit>
void ForEachBlock(const ImageCoverage& c, const CellGrid& grid, Visit visit) {
    const std::uint32_t* rows = grid.rows;
    std::uint64_t seams = 0;  // bit k: a run starts or ends at column k
    for (int row = 0; row < grid.rowCount; ++row) {
        seams |= rows[row] ^ (static_cast<std::uint64_t>(rows[row]) << 1);
    }
    for (int row = 0; row < grid.rowCount;) {
        int first = row;
        while (row < grid.rowCount && rows[row] == rows[first]) {
            ++row;
        }
        std::uint32_t bits = rows[first];
        int y0 = first * grid.cellHeight;
        int y1 = std::min(row * grid.cellHeight, c.cropHeight);
        for (int column = 0; column < grid.columns;) {
            if (!(bits >> column & 1)) {
                ++column;
                continue;
            }
            int start = column++;
            while (column < grid.columns && (bits >> column & 1) && !(seams >> column & 1)) {
                ++column;
            }
            visit(start * grid.cellWidth, y0, std::min(column * grid.cellWidth, c.cropWidth), y1);
        }
    }
}

// How many cells of the given size in texels, spanning the given pixels per texel, make up
// a block of the least size worth a quad of its own.
int CellsPerBlock(double pixelsPerTexel, int cellTexels) {
    double cellPixels = pixelsPerTexel * cellTexels;
    if (cellPixels <= 0.0) {
        return DRAWING_COVERAGE_CELLS;
    }
    return std::min(DRAWING_COVERAGE_CELLS,
                    std::max(1, static_cast<int>(std::ceil(DRAWING_LEAST_BLOCK / cellPixels))));
}

void DrawParallelogram(int image, const Parallelogram& quad, const float (&colour)[4]) {
    WindowMapping window;
    Point corner[4] = {quad.origin, quad.origin + quad.down, quad.origin + quad.across + quad.down,
                       quad.origin + quad.across};
    PixelBox box;
    for (Point& p : corner) {
        p = window.Map(p);
        box.Add(p);
    }
    if (!box.Meets(window.viewport)) {
        return;
    }
    BindImage(image);
    glColor4fv(colour);
    glBegin(GL_QUADS);
    if (const ImageCoverage* c = CoverageOf(image)) {
        Point sAxis = corner[3] - corner[0];
        Point tAxis = corner[1] - corner[0];
        int level = DeepestLevel(sAxis, tAxis, c->width, c->height);
        double across = std::hypot(sAxis.x, sAxis.y);
        double down = std::hypot(tAxis.x, tAxis.y);
        bool small = across < DRAWING_SMALL_QUAD || down < DRAWING_SMALL_QUAD;
        if (level < DRAWING_COVERAGE_LEVELS && !small) {
            CellGrid grid = JoinCells(*c, level, CellsPerBlock(across / c->width, c->cellWidth),
                                      CellsPerBlock(down / c->height, c->cellHeight));
            ForEachBlock(*c, grid, [&](int x0, int y0, int x1, int y1) {
                quad.Vertices(*c, x0, y0, x1, y1);
            });
        } else {
            quad.Vertices(*c, 0, 0, c->cropWidth, c->cropHeight);
        }
    } else {
        quad.Vertices(WholePicture(), 0, 0, 1, 1);
    }
    glEnd();
}

// The affine map of one triangle of a quad from texture to the frame, applied to (s, t).
Point Affine(Point p0, Point t0, Point p1, Point t1, Point p2, Point t2, Point st) {
    double det = (t1.x - t0.x) * (t2.y - t0.y) - (t2.x - t0.x) * (t1.y - t0.y);
    double a = ((st.x - t0.x) * (t2.y - t0.y) - (t2.x - t0.x) * (st.y - t0.y)) / det;
    double b = ((t1.x - t0.x) * (st.y - t0.y) - (st.x - t0.x) * (t1.y - t0.y)) / det;
    return p0 + (p1 - p0) * a + (p2 - p0) * b;
}

// Where the whole picture's corners lie in it, in the order every quad of the game takes.
const Point QUAD_TEXTURE[4] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

// A point of the crop, in its texels, and whether it lies on a skewed quad's diagonal.
struct CropPoint {
    double x, y;
    bool onDiagonal;
};

// A quad of four free corners (upper left, lower left, lower right, upper right) is two
// triangles, split along the diagonal from its lower left to its upper right corner
// (rising) or along the other, each mapping the picture by its own affine map. Drawn as
// those two triangles, each can be cut to the blocks that show like a parallelogram, the
// blocks the diagonal crosses clipped to the triangle's side of it.
class SkewedQuad {
public:
    SkewedQuad(const Point (&corner)[4], const ImageCoverage& c, bool rising)
        : my_corner(corner), my_c(c), my_rising(rising) {
        const int halves[2][2][3] = {{{0, 1, 2}, {0, 2, 3}}, {{0, 1, 3}, {1, 2, 3}}};
        for (int k = 0; k < 2; ++k) {
            const int* t = halves[rising][k];
            auto map = [&](Point st) {
                return Affine(corner[t[0]], QUAD_TEXTURE[t[0]], corner[t[1]], QUAD_TEXTURE[t[1]],
                              corner[t[2]], QUAD_TEXTURE[t[2]], st);
            };
            my_half[k].origin = map({0, 0});
            my_half[k].across = map({1, 0}) - my_half[k].origin;
            my_half[k].down = map({0, 1}) - my_half[k].origin;
        }
    }

    const Parallelogram& Half(int k) const { return my_half[k]; }

    // The triangles of one half over a rectangle of crop texels.
    void Draw(int half, int x0, int y0, int x1, int y1) const {
        const int corners[4][2] = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
        const std::int64_t sign = half == 0 ? 1 : -1;
        CropPoint kept[5];
        int count = 0;
        for (int i = 0; i < 4; ++i) {
            const int* p = corners[i];
            const int* q = corners[(i + 1) % 4];
            std::int64_t dp = sign * Side(p[0], p[1]);
            std::int64_t dq = sign * Side(q[0], q[1]);
            if (dp >= 0) {
                kept[count++] = {static_cast<double>(p[0]), static_cast<double>(p[1]), dp == 0};
            }
            if ((dp > 0 && dq < 0) || (dp < 0 && dq > 0)) {
                kept[count++] = p[0] == q[0] ? CrossingAtColumn(p[0]) : CrossingAtRow(p[1]);
            }
        }
        for (int i = 2; i < count; ++i) {
            Vertex(half, kept[0]);
            Vertex(half, kept[i - 1]);
            Vertex(half, kept[i]);
        }
    }

private:
    const Point (&my_corner)[4];
    const ImageCoverage& my_c;
    bool my_rising;
    // Half 0 keeps the lower left corner, or the upper left when the quad is split rising.
    Parallelogram my_half[2];

    // Which side of the diagonal a texel corner of the crop lies on, in whole numbers so that
    // both halves agree: positive on half 0's, 0 on the diagonal.
    std::int64_t Side(int x, int y) const {
        std::int64_t s = my_c.cropX + x, t = my_c.cropY + y, w = my_c.width, h = my_c.height;
        return my_rising ? w * h - s * h - t * w : t * w - s * h;
    }
    // Where the diagonal crosses a column or a row of texel corners. Each crossing is worked
    // out the one way, whichever block and half asks, so that blocks meeting there share it.
    CropPoint CrossingAtColumn(int x) const {
        double s = static_cast<double>(my_c.cropX + x) / my_c.width;
        return {static_cast<double>(x), (my_rising ? 1.0 - s : s) * my_c.height - my_c.cropY, true};
    }
    CropPoint CrossingAtRow(int y) const {
        double t = static_cast<double>(my_c.cropY + y) / my_c.height;
        return {(my_rising ? 1.0 - t : t) * my_c.width - my_c.cropX, static_cast<double>(y), true};
    }
    // Points on the diagonal are placed along it, the same for both halves.
    void Vertex(int half, CropPoint p) const {
        double s = (my_c.cropX + p.x) / my_c.width;
        double t = (my_c.cropY + p.y) / my_c.height;
        Point from = my_corner[my_rising ? 1 : 0], to = my_corner[my_rising ? 3 : 2];
        Point at = p.onDiagonal ? from + (to - from) * s : my_half[half].At(s, t);
        glTexCoord2f(static_cast<float>(p.x / my_c.cropWidth),
                     static_cast<float>(p.y / my_c.cropHeight));
        VertexAt(at.x, at.y);
    }
};

// Mesa splits a quad along the rising diagonal when it must clip the quad to the view, and
// along the other when the quad lies wholly in view; the cut picture follows its choice.
bool WhollyIn(const PixelBox& box, const GLint (&viewport)[4]) {
    return box.left >= viewport[0] && box.right <= viewport[0] + viewport[2] &&
           box.bottom >= viewport[1] && box.top <= viewport[1] + viewport[3];
}

// Both halves of a skewed quad are cut along one grid, at the deeper level and the coarser
// blocks of the two, so that the blocks the diagonal crosses meet it at the same points.
void DrawSkewed(int image, const Point (&corner)[4]) {
    WindowMapping window;
    PixelBox box;
    for (Point p : corner) {
        box.Add(window.Map(p));
    }
    if (!box.Meets(window.viewport)) {
        return;
    }
    BindImage(image);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const ImageCoverage* c = CoverageOf(image);
    if (!c) {
        glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i) {
            glTexCoord2f(static_cast<float>(QUAD_TEXTURE[i].x),
                         static_cast<float>(QUAD_TEXTURE[i].y));
            VertexAt(corner[i].x, corner[i].y);
        }
        glEnd();
        return;
    }
    SkewedQuad quad(corner, *c, !WhollyIn(box, window.viewport));
    int level = 0;
    double across = HUGE_VAL, down = HUGE_VAL;
    for (int k = 0; k < 2; ++k) {
        const Parallelogram& half = quad.Half(k);
        Point origin = window.Map(half.origin);
        Point sAxis = window.Map(half.origin + half.across) - origin;
        Point tAxis = window.Map(half.origin + half.down) - origin;
        level = std::max(level, DeepestLevel(sAxis, tAxis, c->width, c->height));
        across = std::min(across, std::hypot(sAxis.x, sAxis.y));
        down = std::min(down, std::hypot(tAxis.x, tAxis.y));
    }
    bool cut = level < DRAWING_COVERAGE_LEVELS && across >= DRAWING_SMALL_QUAD &&
               down >= DRAWING_SMALL_QUAD;
    CellGrid grid;
    if (cut) {
        grid = JoinCells(*c, level, CellsPerBlock(across / c->width, c->cellWidth),
                         CellsPerBlock(down / c->height, c->cellHeight));
    }
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < 2; ++k) {
        if (cut) {
            ForEachBlock(*c, grid,
                         [&](int x0, int y0, int x1, int y1) { quad.Draw(k, x0, y0, x1, y1); });
        } else {
            quad.Draw(k, 0, 0, c->cropWidth, c->cropHeight);
        }
    }
    glEnd();
}

}  // namespace

void VertexAt(double x, double y) {
    glVertex2f(static_cast<float>(x), static_cast<float>(y));
}

void BindImage(int image) {
    glBindTexture(GL_TEXTURE_2D, TheWorld().TextureOf(image));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void DrawImageQuad(int image, double left, double top, double right, double bottom, float red,
                   float green, float blue, float alpha, bool mirrored) {
    Parallelogram quad;
    quad.origin = {left, top};
    quad.across = {right - left, 0.0};
    quad.down = {0.0, bottom - top};
    quad.mirrored = mirrored;
    const float colour[4] = {red, green, blue, alpha};
    DrawParallelogram(image, quad, colour);
}

// Captions that are parallelograms (most are) are cut to their cells like any picture.
void DrawImageCorners(int image, const double (&x)[4], const double (&y)[4]) {
    const Point corner[4] = {{x[0], y[0]}, {x[1], y[1]}, {x[2], y[2]}, {x[3], y[3]}};
    Point across = corner[3] - corner[0];
    Point down = corner[1] - corner[0];
    Point opposite = corner[0] + across + down;
    const double tolerance = 1e-9;
    if (std::abs(opposite.x - corner[2].x) < tolerance &&
        std::abs(opposite.y - corner[2].y) < tolerance) {
        Parallelogram quad;
        quad.origin = corner[0];
        quad.across = across;
        quad.down = down;
        const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        DrawParallelogram(image, quad, white);
    } else {
        DrawSkewed(image, corner);
    }
}

// A scissor, cut at the window row of the height: cheaper than cutting the pictures.
void BeginBelow(double height) {
    WindowMapping window;
    const GLint* view = window.viewport;
    double row = window.Map({0.0, height}).y - view[1];
    GLint rows = static_cast<GLint>(std::lround(std::clamp(row, 0.0, double(view[3]))));
    glScissor(view[0], view[1], view[2], rows);
    glEnable(GL_SCISSOR_TEST);
}

void EndBelow() {
    glDisable(GL_SCISSOR_TEST);
}

// An untextured quad of alpha 1 hides what lies under it; blending it would only cost the
// renderer a read of every pixel.
void BeginOpaque() {
    glDisable(GL_BLEND);
}

void EndOpaque() {
    glEnable(GL_BLEND);
}
