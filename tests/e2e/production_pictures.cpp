// Pictures of rendered frames decoded from the renderer's PNG files.
#include "production_pictures.h"

#include <cmath>
#include <stdexcept>

#include <png.h>

#include "capture_files.h"

std::string describe(Rgb pixel) {
    return "(" + std::to_string(pixel.r) + ", " + std::to_string(pixel.g) + ", " +
           std::to_string(pixel.b) + ")";
}

Picture Picture::load(const std::string& path) {
    PngPicture png = readPng(path);
    if (!png.readable) {
        throw std::runtime_error("cannot read " + path);
    }
    if (png.width != pictureWidth || png.height != pictureHeight || png.bitDepth != 8 ||
        png.colourType != PNG_COLOR_TYPE_RGB) {
        throw std::runtime_error(path + " is not a 640x480 RGB picture");
    }
    Picture picture;
    picture.bytes = std::move(png.rows);
    return picture;
}

Rgb Picture::at(int column, int row) const {
    const std::size_t offset = (static_cast<std::size_t>(row) * pictureWidth + column) * 3;
    return {bytes.at(offset), bytes.at(offset + 1), bytes.at(offset + 2)};
}

int columnAt(double x) {
    return static_cast<int>(std::floor((x + 1.0) * pictureWidth / 2));
}

int rowAt(double y) {
    return static_cast<int>(std::floor((1.0 - y) * pictureHeight / 2));
}

double fragmentX(int column) {
    return (column + 0.5) / pictureWidth;
}

double fragmentY(int row) {
    return (pictureHeight - 1 - row + 0.5) / pictureHeight;
}

int countPixels(const Picture& picture, const Box& box, const PixelTest& test) {
    int count = 0;
    for (int row = box.top; row <= box.bottom; ++row) {
        for (int column = box.left; column <= box.right; ++column) {
            count += test(picture.at(column, row), column, row) ? 1 : 0;
        }
    }
    return count;
}

std::vector<bool> maskOf(const Picture& picture, const Box& box, const PixelTest& test) {
    std::vector<bool> mask;
    for (int row = box.top; row <= box.bottom; ++row) {
        for (int column = box.left; column <= box.right; ++column) {
            mask.push_back(test(picture.at(column, row), column, row));
        }
    }
    return mask;
}

std::string firstFailure(const Picture& picture, const Box& box, const PixelTest& test) {
    for (int row = box.top; row <= box.bottom; ++row) {
        for (int column = box.left; column <= box.right; ++column) {
            const Rgb pixel = picture.at(column, row);
            if (!test(pixel, column, row)) {
                return "pixel at column " + std::to_string(column) + ", row " +
                       std::to_string(row) + " is " + describe(pixel);
            }
        }
    }
    return "";
}
