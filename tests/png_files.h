// Writes small real PNG files for the tests.
#pragma once

#include <cstdint>
#include <string>

enum class PngKind { RGB, RGBA, Palette };

// A picture from rows of 8-bit RGB pixels, top row first.
void WritePng(const std::string& path, int width, int height, const std::uint8_t* rgbRows);

// A picture of one colour; for the palette kind the colour is its only palette entry.
void WriteTestPng(const std::string& path, int width, int height, PngKind kind,
                  std::uint8_t red = 200, std::uint8_t green = 100, std::uint8_t blue = 50,
                  std::uint8_t alpha = 255);
