#include "png_files.h"

#include <zlib.h>

#include <fstream>
#include <vector>

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void Chunk(std::vector<std::uint8_t>& png, const char* type,
           const std::vector<std::uint8_t>& data) {
    Put32(png, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    Put32(png, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

// Rows of raw pixels, each behind its filter byte, compressed into a whole PNG file.
void SavePng(const std::string& path, int width, int height, std::uint8_t colourType,
             const std::vector<std::uint8_t>& rows, const std::vector<std::uint8_t>& palette) {
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<std::uint8_t> packed(packedSize);
    compress(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()));
    packed.resize(packedSize);
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<std::uint8_t> header;
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    Chunk(png, "IHDR", header);
    if (!palette.empty()) {
        Chunk(png, "PLTE", palette);
    }
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", {});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

}  // namespace

void WritePng(const std::string& path, int width, int height, const std::uint8_t* rgbRows) {
    std::vector<std::uint8_t> rows;
    rows.reserve(static_cast<size_t>(height) * (width * 3 + 1));
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // no filter
        const std::uint8_t* row = rgbRows + static_cast<size_t>(y) * width * 3;
        rows.insert(rows.end(), row, row + width * 3);
    }
    SavePng(path, width, height, 2, rows, {});
}

void WriteTestPng(const std::string& path, int width, int height, PngKind kind, std::uint8_t red,
                  std::uint8_t green, std::uint8_t blue, std::uint8_t alpha) {
    std::vector<std::uint8_t> pixel;
    std::uint8_t colourType = 0;
    switch (kind) {
        case PngKind::RGB:
            pixel = {red, green, blue}, colourType = 2;
            break;
        case PngKind::RGBA:
            pixel = {red, green, blue, alpha}, colourType = 6;
            break;
        case PngKind::Palette:
            pixel = {0}, colourType = 3;
            break;
    }
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // no filter
        for (int x = 0; x < width; ++x) {
            rows.insert(rows.end(), pixel.begin(), pixel.end());
        }
    }
    std::vector<std::uint8_t> palette;
    if (kind == PngKind::Palette) {
        palette = {red, green, blue};
    }
    SavePng(path, width, height, colourType, rows, palette);
}
