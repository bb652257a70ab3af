// SPDX-License-Identifier: GPL-3.0-or-later
// The world's pictures, sounds and music.
#include "game/world_task.h"

#include <GL/gl.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/log.h"
#include "game/fmod_errorcheck.h"
#include "game/game_constants.h"
#include "platform/file_access.h"
#include "platform/random.h"
#include "platform/sdl_port.h"

#ifndef GL_TEXTURE_WRAP_R
#define GL_TEXTURE_WRAP_R 0x8072
#endif
#ifndef GL_TEXTURE_MAX_LEVEL
#define GL_TEXTURE_MAX_LEVEL 0x813D
#endif
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace {

// Builds folder + name into a path buffer; false when it would not fit.
bool BuildPath(char (&path)[ASSET_PATH_SIZE], const char* folder, const char* name) {
    int length = std::snprintf(path, sizeof path, "%s%s", folder, name);
    return length >= 0 && length < static_cast<int>(sizeof path);
}

// Pictures that do not decode to 3 or 4 bytes a pixel (palette images, say) are turned into
// 8-bit RGBA, the format the upload below understands.
SDL_Surface* ToUploadableFormat(SDL_Surface* surface) {
    int bytes = surface->format->BytesPerPixel;
    if (bytes == 3 || bytes == 4) {
        return surface;
    }
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
    const Uint32 red = 0x000000ff, green = 0x0000ff00, blue = 0x00ff0000, alpha = 0xff000000;
#else
    const Uint32 red = 0xff000000, green = 0x00ff0000, blue = 0x0000ff00, alpha = 0x000000ff;
#endif
    // A surface of one pixel lends its format, made in full by SDL itself.
    SDL_Surface* model = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, red, green, blue, alpha);
    SDL_Surface* converted =
        model ? SDL_ConvertSurface(surface, model->format, SDL_SWSURFACE) : nullptr;
    SDL_FreeSurface(model);
    SDL_FreeSurface(surface);
    return converted;
}

// The part of the picture from (x, y), width by height texels, without the surface's padding.
std::vector<unsigned char> CopyPixels(const SDL_Surface* surface, int bytes, int x, int y,
                                      int width, int height) {
    size_t row = static_cast<size_t>(width) * bytes;
    std::vector<unsigned char> pixels(row * height);
    const unsigned char* source = static_cast<const unsigned char*>(surface->pixels);
    for (int line = 0; line < height; ++line) {
        std::memcpy(&pixels[row * line],
                    source + static_cast<size_t>(surface->pitch) * (y + line) +
                        static_cast<size_t>(x) * bytes,
                    row);
    }
    return pixels;
}

// Colours are averaged by their alpha, so the clear border round a sprite cannot darken its
// edge as it shrinks. Whole numbers give the rounding exactly, and quickly.
std::vector<unsigned char> HalfSize(const std::vector<unsigned char>& image, int width, int height,
                                    int bytes) {
    int halfWidth = std::max(1, width / 2);
    int halfHeight = std::max(1, height / 2);
    std::vector<unsigned char> half(static_cast<size_t>(halfWidth) * halfHeight * bytes);
    for (int y = 0; y < halfHeight; ++y) {
        for (int x = 0; x < halfWidth; ++x) {
            unsigned sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    size_t at = (static_cast<size_t>(std::min(2 * y + dy, height - 1)) * width +
                                 std::min(2 * x + dx, width - 1)) *
                                bytes;
                    unsigned alpha = bytes == 4 ? image[at + 3] : 255;
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += image[at + c] * alpha;
                    }
                    sum[3] += alpha;
                }
            }
            unsigned char* out = &half[(static_cast<size_t>(y) * halfWidth + x) * bytes];
            for (int c = 0; c < 3; ++c) {
                // The nearest whole number to sum[c] / sum[3], halves rounded up.
                out[c] = static_cast<unsigned char>(
                    sum[3] > 0 ? (2 * sum[c] + sum[3]) / (2 * sum[3]) : 0);
            }
            if (bytes == 4) {
                out[3] = static_cast<unsigned char>((sum[3] + 2) / 4);
            }
        }
    }
    return half;
}

// Sprites are drawn far smaller than their pictures (a fishie about an eighth at 640x480):
// each smaller level halves the one above, down to one pixel, and a shrunk sprite is sampled
// from the levels nearest its size, smooth and with less to read.
void UploadSmallerLevels(std::vector<unsigned char> level, int width, int height, int bytes,
                         GLenum format) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int index = 1; width > 1 || height > 1; ++index) {
        level = HalfSize(level, width, height, bytes);
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
        glTexImage2D(GL_TEXTURE_2D, index, format, width, height, 0, format, GL_UNSIGNED_BYTE,
                     level.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

// Levels from the picture's own size down to one texel, each halving the one above.
int MipmapLevels(int width, int height) {
    int levels = 1;
    for (int size = std::max(width, height); size > 1; size /= 2) {
        ++levels;
    }
    return levels;
}

// The least box, in texels, that holds every texel that is not wholly clear; empty (width 0)
// for a clear picture.
struct TexelBox {
    int left, top, right, bottom;  // right and bottom one past the last
};
TexelBox ShownTexels(const SDL_Surface* surface) {
    TexelBox box = {surface->w, surface->h, 0, 0};
    const unsigned char* pixels = static_cast<const unsigned char*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y) {
        const unsigned char* row = pixels + static_cast<size_t>(surface->pitch) * y;
        for (int x = 0; x < surface->w; ++x) {
            if (row[4 * x + 3]) {
                box.left = std::min(box.left, x), box.right = std::max(box.right, x + 1);
                box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y + 1);
            }
        }
    }
    return box.right > box.left ? box : TexelBox{0, 0, surface->w, surface->h};
}

int AlignDown(int value) {
    return std::max(0, value / DRAWING_CROP_ALIGNMENT * DRAWING_CROP_ALIGNMENT);
}

int AlignUp(int value, int limit) {
    int steps = (value + DRAWING_CROP_ALIGNMENT - 1) / DRAWING_CROP_ALIGNMENT;
    return std::min(limit, steps * DRAWING_CROP_ALIGNMENT);
}

// The crop keeps a clear margin and starts and ends on whole steps, so that the first
// mipmap levels of the crop are exactly the matching parts of the whole picture's.
void ChooseCrop(const SDL_Surface* surface, int bytes, ImageCoverage& coverage) {
    coverage.width = coverage.cropWidth = surface->w;
    coverage.height = coverage.cropHeight = surface->h;
    if (bytes != 4) {
        return;
    }
    TexelBox shown = ShownTexels(surface);
    int left = AlignDown(shown.left - DRAWING_CROP_MARGIN);
    int top = AlignDown(shown.top - DRAWING_CROP_MARGIN);
    int right = AlignUp(shown.right + DRAWING_CROP_MARGIN, surface->w);
    int bottom = AlignUp(shown.bottom + DRAWING_CROP_MARGIN, surface->h);
    double share = static_cast<double>(right - left) * (bottom - top) / surface->w / surface->h;
    if (share < DRAWING_CROP_WORTH) {
        coverage.cropX = left, coverage.cropY = top;
        coverage.cropWidth = right - left, coverage.cropHeight = bottom - top;
    }
}

// A cell shows at a mipmap level when a texel that is not clear lies near enough that the
// level's filtering can carry it there: each level spreads a texel over its own size, and
// bilinear sampling reaches one and a half of its texels further.
void MapCells(const std::vector<unsigned char>& crop, int bytes, ImageCoverage& c) {
    const int cells = DRAWING_COVERAGE_CELLS;
    c.cellWidth = std::max(1, (c.cropWidth + cells - 1) / cells);
    c.cellHeight = std::max(1, (c.cropHeight + cells - 1) / cells);
    c.columns = (c.cropWidth + c.cellWidth - 1) / c.cellWidth;
    c.rows = (c.cropHeight + c.cellHeight - 1) / c.cellHeight;
    const int block = 8;  // texels: a block's content is noted once, then spread
    for (int by = 0; by < c.cropHeight; by += block) {
        for (int bx = 0; bx < c.cropWidth; bx += block) {
            bool shows = bytes != 4;
            for (int y = by; y < std::min(by + block, c.cropHeight) && !shows; ++y) {
                const unsigned char* row = &crop[(static_cast<size_t>(y) * c.cropWidth) * 4];
                for (int x = bx; x < std::min(bx + block, c.cropWidth) && !shows; ++x) {
                    shows = row[4 * x + 3] != 0;
                }
            }
            if (!shows) {
                continue;
            }
            for (int level = 0; level < DRAWING_COVERAGE_LEVELS; ++level) {
                int reach = (2 << level) + 2;
                int c0 = std::max(0, (bx - reach) / c.cellWidth);
                int c1 = std::min(c.columns - 1, (bx + block + reach) / c.cellWidth);
                int r0 = std::max(0, (by - reach) / c.cellHeight);
                int r1 = std::min(c.rows - 1, (by + block + reach) / c.cellHeight);
                for (int r = r0; r <= r1; ++r) {
                    for (int column = c0; column <= c1; ++column) {
                        c.cells[level][r] |= std::uint32_t{1} << column;
                    }
                }
            }
        }
    }
}

// Uploads the crop of the picture with its smaller levels, and says what of it shows.
ImageCoverage UploadTexture(SDL_Surface* surface, GLuint texture) {
    int bytes = surface->format->BytesPerPixel;
    GLenum format = bytes == 3 ? GL_RGB : GL_RGBA;
    ImageCoverage coverage;
    coverage.texture = texture;
    bool locked = LockPixels(surface);
    ChooseCrop(surface, bytes, coverage);
    std::vector<unsigned char> crop = CopyPixels(surface, bytes, coverage.cropX, coverage.cropY,
                                                 coverage.cropWidth, coverage.cropHeight);
    if (locked) {
        SDL_UnlockSurface(surface);
    }
    // Told the whole chain's length first, the driver gives the texture its room for every
    // level at once, instead of room for one that it copies away once the rest arrive.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL,
                    MipmapLevels(coverage.cropWidth, coverage.cropHeight) - 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, format, coverage.cropWidth, coverage.cropHeight, 0, format,
                 GL_UNSIGNED_BYTE, crop.data());
    MapCells(crop, bytes, coverage);
    UploadSmallerLevels(std::move(crop), coverage.cropWidth, coverage.cropHeight, bytes, format);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return coverage;
}

}  // namespace

void WorldTask::ReleaseImages() {
    glDeleteTextures(ASSET_IMAGE_COUNT, my_textures);
    for (std::uint32_t& texture : my_textures) {
        texture = 0;
    }
    for (ImageCoverage& coverage : my_coverage) {
        coverage = ImageCoverage();
    }
}

// Rows go up top row first, so texture coordinate t = 0 is the top of the picture.
bool WorldTask::LoadImages() {
    glGenTextures(ASSET_IMAGE_COUNT, my_textures);
    for (int i = 0; i < ASSET_IMAGE_COUNT; ++i) {
        glBindTexture(GL_TEXTURE_2D, my_textures[i]);
        SDL_Surface* surface = LoadImage(IMG_filenames[i]);
        if (!surface) {
            return false;
        }
        my_coverage[i] = UploadTexture(surface, my_textures[i]);
        SDL_FreeSurface(surface);
    }
    return true;
}

SDL_Surface* WorldTask::LoadImage(const char* name) {
    char path[ASSET_PATH_SIZE];
    SDL_Surface* surface = nullptr;
    std::string problem;
    if (BuildPath(path, ASSET_IMAGE_FOLDER, name) && CanReadRegularFile(path, problem)) {
        surface = IMG_Load(path);
    }
    if (surface) {
        surface = ToUploadableFormat(surface);
    }
    if (!surface && !problem.empty()) {
        Log::Get().Write(LOG_APP, "Warning: problem loading image '%s': %s", path, problem.c_str());
    } else if (!surface) {
        Log::Get().Write(LOG_APP, "Warning: problem loading image '%s'", path);
    }
    return surface;
}

bool WorldTask::LoadSounds() {
    for (int i = 0; i < ASSET_SOUND_COUNT; ++i) {
        char path[ASSET_PATH_SIZE];
        if (!BuildPath(path, ASSET_AUDIO_FOLDER, SND_filenames[i])) {
            Log::Get().Write(LOG_ERROR, "Sound file name too long: %s", SND_filenames[i]);
            return false;
        }
        if (!FMOD_ERRORCHECK(FMOD_System_CreateSound(my_soundSystem, path, FMOD_DEFAULT, nullptr,
                                                     &my_sounds[i]))) {
            return false;
        }
    }
    return true;
}

// A failure is reported and the rest are still released.
void WorldTask::ReleaseSounds() {
    for (FMOD_SOUND*& sound : my_sounds) {
        if (sound) {
            FMOD_ERRORCHECK(FMOD_Sound_Release(sound));
            sound = nullptr;
        }
    }
}

void WorldTask::MusicMode(MODES mode) {
    if (my_playback.checking) {
        return;
    }
    if (mode == MODE_MUSIC_STOP || mode == MODE_MUSIC_START) {
        music.isPaused = mode == MODE_MUSIC_STOP;
        FMOD_Channel_SetPaused(music.channel, music.isPaused);
        return;
    }
    int tune = SND_ATTACK;
    if (mode == MODE_MENU || mode == MODE_SWIM) {
        tune = SND_BRINY;
    } else if (mode == MODE_CHOMPED) {
        tune = SND_EATEN_TUNE;
    }
    if (tune == music.tune) {
        return;  // the tune playing goes on undisturbed
    }
    music.tune = tune;
    FMOD_ERRORCHECK(FMOD_System_PlaySound(my_soundSystem, FMOD_CHANNEL_REUSE, my_sounds[tune],
                                          music.isPaused, &music.channel));
}

void WorldTask::PlaySoundEffect(SOUNDS sound) {
    if (!my_playSounds || my_playback.checking) {
        return;
    }
    FMOD_CHANNEL* channel = nullptr;
    FMOD_ERRORCHECK(FMOD_System_PlaySound(my_soundSystem, FMOD_CHANNEL_FREE, my_sounds[sound],
                                          false, &channel));
}

// The variant is drawn only when the effect is played.
void WorldTask::PlaySoundVariant(SOUNDS first) {
    if (!my_playSounds || my_playback.checking) {
        return;
    }
    PlaySoundEffect(static_cast<SOUNDS>(first + my_soundDice.Next() % ASSET_SOUND_VARIANTS));
}
