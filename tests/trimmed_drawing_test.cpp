// SPDX-License-Identifier: GPL-3.0-or-later
// The game's own pictures, cut to what shows of them, look as they do drawn whole.
#include <GL/gl.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "world_fixture.h"

namespace {

class TrimmedDrawingTest : public WorldFixture {
protected:
    // The 320 x 240 window after drawing over a grey ground.
    std::vector<unsigned char> Drawn(const std::function<void()>& draw) {
        world.LoadGLStandard();
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        draw();
        std::vector<unsigned char> pixels(320 * 240 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 320, 240, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    // The picture whole in a texture of its own, read from its full-size level alone.
    GLuint WholeTexture(int image) {
        SDL_Surface* picture = world.LoadImage(IMG_filenames[image]);
        EXPECT_NE(picture, nullptr);
        GLuint whole = 0;
        glGenTextures(1, &whole);
        glBindTexture(GL_TEXTURE_2D, whole);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, picture->w, picture->h, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, picture->pixels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        SDL_FreeSurface(picture);
        return whole;
    }
    // Drawn as the world draws it, and drawn whole from the picture file.
    std::pair<std::vector<unsigned char>, std::vector<unsigned char>> OwnAndWhole(
        int image, const std::function<void()>& draw) {
        std::vector<unsigned char> own = Drawn(draw);
        std::uint32_t texture = world.my_textures[image];
        world.my_textures[image] = WholeTexture(image);  // a texture the world did not measure
        std::vector<unsigned char> whole = Drawn(draw);
        glDeleteTextures(1, &world.my_textures[image]);
        world.my_textures[image] = texture;
        return {own, whole};
    }
};

// Each picture drawn larger than itself, so that only its full-size level is read: once as
// the game draws it, cut to what shows of its crop, and once whole from the picture file.
TEST_F(TrimmedDrawingTest, LooksAsTheWholePictureDrawnWhole) {
    struct Corners {
        double x[4], y[4];  // upper left, lower left, lower right, upper right
    };
    // Skewed both ways, as the title's words are: larger than the pictures and far beyond the
    // view, or wholly in view; the renderer splits the two kinds along different diagonals.
    const Corners leaning = {{-8.0, -7.0, 8.5, 7.5}, {7.0, -7.5, -6.0, 8.0}};
    const Corners falling = {{-7.5, -8.0, 7.0, 8.5}, {3.0, -4.5, -3.5, 5.0}};
    const Corners inView = {{-1.2, -1.0, 1.3, 0.9}, {1.1, -1.2, -0.9, 1.2}};
    struct Case {
        const char* what;
        int image;
        float x, y;
        double halfSize, angle;
        bool mirrored;
        const Corners* corners;  // four free corners instead of the square, or none
    };
    const Case cases[] = {
        {"a propeller, turned and mirrored", IMG_PROP2, 0.1f, -0.2f, 0.9, 30.0, true, nullptr},
        {"a fish's face, cropped", IMG_FISH_FACE3, 0.1f, -0.2f, 1.7, 200.0, false, nullptr},
        {"the circle's ring, hollow", IMG_CIRCLE_FRAME, -2.4f, -1.6f, 3.3, 10.0, false, nullptr},
        {"a word on four free corners", IMG_TEXT_TOBRIN, 0.0f, 0.0f, 0.0, 0.0, false, &leaning},
        {"a word skewed the other way", IMG_TEXT_FISH, 1.0f, 0.5f, 0.0, 20.0, false, &falling},
        {"a digit on free corners, wholly in view", IMG_NUM_8, 0.0f, 0.0f, 0.0, 0.0, false,
         &inView},
    };
    for (const Case& c : cases) {
        auto draw = [&] {
            glPushMatrix();
            glTranslatef(c.x, c.y, 0.0f);
            glRotatef(static_cast<float>(c.angle), 0.0f, 0.0f, 1.0f);
            if (c.corners) {
                DrawImageCorners(c.image, c.corners->x, c.corners->y);
            } else {
                DrawImageQuad(c.image, -c.halfSize, c.halfSize, c.halfSize, -c.halfSize, 1.0f, 1.0f,
                              1.0f, 1.0f, c.mirrored);
            }
            glPopMatrix();
        };
        auto [trimmed, reference] = OwnAndWhole(c.image, draw);
        int shown = 0, differ = 0;
        for (size_t i = 0; i < reference.size(); ++i) {
            shown += reference[i] != 128;
            differ += std::abs(reference[i] - trimmed[i]) > 2;
        }
        EXPECT_GT(shown, 3000) << c.what;
        EXPECT_EQ(differ, 0) << c.what;
    }
}

// Drawn at a sixteenth of its size, a picture is smoothed from its smaller levels rather than
// sampled from its full size: its neighbouring pixels differ far less.
TEST_F(TrimmedDrawingTest, DrawnSmallItIsSmoothedFromItsSmallerLevels) {
    auto [smoothed, sampled] = OwnAndWhole(IMG_TEXT_TOBRIN, [] {
        DrawImageQuad(IMG_TEXT_TOBRIN, -0.4, 0.4, 0.4, -0.4, 1.0f, 1.0f, 1.0f, 1.0f, false);
    });
    auto roughness = [](const std::vector<unsigned char>& pixels) {
        long sum = 0;
        for (size_t i = 3; i < pixels.size(); ++i) {
            sum += std::abs(pixels[i] - pixels[i - 3]);
        }
        return sum;
    };
    EXPECT_LT(roughness(smoothed) * 10, roughness(sampled) * 8);  // about 6.5 on llvmpipe
}

}  // namespace
