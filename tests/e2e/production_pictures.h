// The rendered frames as pictures to look into: pixels by column and row, the shaders' window
// coordinates, and tests over boxes of pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <png.h>

#include "capture_files.h"

struct Rgb {
    int r, g, b;
    bool isBlack() const { return r == 0 && g == 0 && b == 0; }
    bool isGrey() const { return r == g && g == b; }
};

// An inclusive rectangle of pixels.
struct Box {
    int left, top, right, bottom;
};

constexpr Box whole{0, 0, 639, 479};

using PixelTest = std::function<bool(Rgb pixel, int column, int row)>;

// A 640x480 RGB frame, row 0 at the top as the PNG stores it.
struct Picture {
    std::vector<std::uint8_t> bytes;

    // Throws std::runtime_error for a file that is missing, unreadable or not 640x480 RGB.
    static Picture load(const std::string& path) {
        PngPicture png = readPng(path);
        if (!png.readable || png.width != 640 || png.height != 480 || png.bitDepth != 8 ||
            png.colourType != PNG_COLOR_TYPE_RGB) {
            throw std::runtime_error(path + " is not a readable 640x480 RGB picture");
        }
        return {std::move(png.rows)};
    }

    // A pixel's centre as a fragment shader sees it: 0 to 1 across and up the window.
    static double fragmentX(int column) { return (column + 0.5) / 640; }
    static double fragmentY(int row) { return (479 - row + 0.5) / 480; }

    bool operator==(const Picture& other) const { return bytes == other.bytes; }
    Rgb at(int column, int row) const {
        const std::size_t offset = (static_cast<std::size_t>(row) * 640 + column) * 3;
        return {bytes.at(offset), bytes.at(offset + 1), bytes.at(offset + 2)};
    }

    // The first pixel of `box` that fails `test`, for a failure message; empty when all pass.
    std::string firstFailure(const Box& box, const PixelTest& test) const {
        for (int row = box.top; row <= box.bottom; ++row) {
            for (int column = box.left; column <= box.right; ++column) {
                const Rgb pixel = at(column, row);
                if (!test(pixel, column, row)) {
                    return "column " + std::to_string(column) + ", row " + std::to_string(row) +
                           ": " + std::to_string(pixel.r) + " " + std::to_string(pixel.g) + " " +
                           std::to_string(pixel.b);
                }
            }
        }
        return "";
    }

    int count(const Box& box, const PixelTest& test) const {
        int passing = 0;
        for (int row = box.top; row <= box.bottom; ++row) {
            for (int column = box.left; column <= box.right; ++column) {
                passing += test(at(column, row), column, row) ? 1 : 0;
            }
        }
        return passing;
    }
    double share(const Box& box, const PixelTest& test) const {
        return count(box, test) / double((box.right - box.left + 1) * (box.bottom - box.top + 1));
    }
};
