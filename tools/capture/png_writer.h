// Writing a picture as an 8-bit RGB PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An RGB picture, three bytes a pixel, top row first as image files store them.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Writes the picture to `path`. The file holds nothing but the pixels (no time stamp, no text),
// so the same picture always gives the same bytes. Throws std::runtime_error naming the file
// when it cannot be written.
void writePng(const std::string& path, const RgbImage& image);
