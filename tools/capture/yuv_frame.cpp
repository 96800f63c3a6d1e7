// Converting RGB frames to BT.601 studio-range YUV 4:2:0 with whole numbers: eight bits of
// fraction in the coefficients, rounded to the nearest.
#include "tools/capture/yuv_frame.h"

#include <algorithm>

namespace {

// Y = 16 + (66 R + 129 G + 25 B) / 256: black is 16, white 235.
std::uint8_t luma(const std::uint8_t* rgb) {
    return static_cast<std::uint8_t>(((66 * rgb[0] + 129 * rgb[1] + 25 * rgb[2] + 128) >> 8) + 16);
}

// Cb and Cr from the sums of four pixels' channels: 128 + coefficients × mean, which the
// offset of 128 × 1024 keeps positive before the shift.
std::uint8_t blueDifference(int red, int green, int blue) {
    return static_cast<std::uint8_t>((-38 * red - 74 * green + 112 * blue + (128 << 10) + 512) >>
                                     10);
}
std::uint8_t redDifference(int red, int green, int blue) {
    return static_cast<std::uint8_t>((112 * red - 94 * green - 18 * blue + (128 << 10) + 512) >>
                                     10);
}

// One row of luma; the loop is plain enough for the compiler to vectorise.
[[gnu::always_inline]] inline void lumaRow(const std::uint8_t* rgb, int width, std::uint8_t* out) {
    for (int x = 0; x < width; ++x, rgb += 3) {
        out[x] = luma(rgb);
    }
}

// One row of each difference plane from two rows of pixels; a missing right-hand pixel of an
// odd width is the last one again.
[[gnu::always_inline]] inline void chromaRow(const std::uint8_t* top, const std::uint8_t* bottom,
                                             int width, std::uint8_t* blue, std::uint8_t* red) {
    const int pairs = width / 2;
    for (int x = 0; x < pairs; ++x) {
        const int at = 6 * x;
        const int r = top[at] + top[at + 3] + bottom[at] + bottom[at + 3];
        const int g = top[at + 1] + top[at + 4] + bottom[at + 1] + bottom[at + 4];
        const int b = top[at + 2] + top[at + 5] + bottom[at + 2] + bottom[at + 5];
        blue[x] = blueDifference(r, g, b);
        red[x] = redDifference(r, g, b);
    }
    if (width % 2 != 0) {
        const int at = 6 * pairs;
        const int r = 2 * (top[at] + bottom[at]);
        const int g = 2 * (top[at + 1] + bottom[at + 1]);
        const int b = 2 * (top[at + 2] + bottom[at + 2]);
        blue[pairs] = blueDifference(r, g, b);
        red[pairs] = redDifference(r, g, b);
    }
}

struct Planes {
    std::uint8_t *luma, *blue, *red;
};

// Every row of the three planes; an odd last row stands in for the missing one of its pair.
[[gnu::always_inline]] inline void convertRows(const RgbImage& frame, const Planes& planes) {
    const int width = frame.width;
    const int height = frame.height;
    const int chromaWidth = (width + 1) / 2;
    const auto rowOf = [&](int y) { return frame.pixels.data() + 3 * std::size_t(y) * width; };
    for (int y = 0; y < height; ++y) {
        lumaRow(rowOf(y), width, planes.luma + std::size_t(y) * width);
    }
    for (int y = 0; y < (height + 1) / 2; ++y) {
        chromaRow(rowOf(2 * y), rowOf(std::min(2 * y + 1, height - 1)), width,
                  planes.blue + std::size_t(y) * chromaWidth,
                  planes.red + std::size_t(y) * chromaWidth);
    }
}

// convertRows compiled twice, for AVX2 and for every x86-64 processor, and chosen at run time.
using ConvertFunction = void (*)(const RgbImage&, const Planes&);

[[gnu::target("avx2")]] void convertRowsAvx2(const RgbImage& frame, const Planes& planes) {
    convertRows(frame, planes);
}

void convertRowsBaseline(const RgbImage& frame, const Planes& planes) {
    convertRows(frame, planes);
}

ConvertFunction widestConvertRows() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? convertRowsAvx2 : convertRowsBaseline;
}

} // namespace

std::vector<std::uint8_t> toYuv420(const RgbImage& frame) {
    const std::size_t lumaSize = static_cast<std::size_t>(frame.width) * frame.height;
    const std::size_t chromaSize =
        static_cast<std::size_t>((frame.width + 1) / 2) * ((frame.height + 1) / 2);
    std::vector<std::uint8_t> planes(lumaSize + 2 * chromaSize);
    std::uint8_t* const luma = planes.data();
    static const ConvertFunction convertRowsHere = widestConvertRows();
    convertRowsHere(frame, {luma, luma + lumaSize, luma + lumaSize + chromaSize});
    return planes;
}
