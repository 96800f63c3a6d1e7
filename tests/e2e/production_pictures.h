// The rendered frames as pictures to look into: pixels by column and row, the production's
// drawing space mapped onto them, and counts over boxes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

inline bool isBlack(Rgb pixel) {
    return pixel.r == 0 && pixel.g == 0 && pixel.b == 0;
}
inline bool isLit(Rgb pixel) {
    return !isBlack(pixel);
}
inline bool isGrey(Rgb pixel) {
    return pixel.r == pixel.g && pixel.g == pixel.b;
}
std::string describe(Rgb pixel);

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

// A 640x480 RGB frame, row 0 at the top as the PNG stores it.
class Picture {
  public:
    // Throws std::runtime_error for a file that is missing, unreadable or not 640x480 RGB.
    static Picture load(const std::string& path);

    Rgb at(int column, int row) const;
    bool operator==(const Picture& other) const { return bytes == other.bytes; }
    bool operator!=(const Picture& other) const { return !(*this == other); }

  private:
    std::vector<std::uint8_t> bytes;
};

// The pixel column and row that a point of the drawing space (-1 to 1 on both axes, y up) falls
// in: 320 pixels to a unit across, 240 down.
int columnAt(double x);
int rowAt(double y);

// The window's coordinates of a pixel's centre as a fragment shader sees them: 0 to 1 across
// and up.
double fragmentX(int column);
double fragmentY(int row);

// An inclusive rectangle of pixels.
struct Box {
    int left;
    int top;
    int right;
    int bottom;
    int area() const { return (right - left + 1) * (bottom - top + 1); }
};
constexpr Box wholePicture{0, 0, pictureWidth - 1, pictureHeight - 1};

using PixelTest = std::function<bool(Rgb pixel, int column, int row)>;

int countPixels(const Picture& picture, const Box& box, const PixelTest& test);

// The pixels of `box` that pass `test`, as a mask in row order, for comparing shapes of ink.
std::vector<bool> maskOf(const Picture& picture, const Box& box, const PixelTest& test);

// The first pixel of `box` that fails `test`, described for a failure message; empty when all
// pass.
std::string firstFailure(const Picture& picture, const Box& box, const PixelTest& test);
