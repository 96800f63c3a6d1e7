// Frames converted for the video encoder: BT.601 studio-range YUV 4:2:0 against the standard's
// own formulas, worked out here in floating point.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tools/capture/yuv_frame.h"

namespace {

struct Yuv {
    double y, cb, cr;
};

// BT.601 from 8-bit RGB: luma 16 to 235, differences 16 to 240 around 128.
Yuv bt601(double r, double g, double b) {
    const double luma = 0.299 * r + 0.587 * g + 0.114 * b;
    return {16 + 219 * luma / 255, 128 + 224 * (b - luma) / 1.772 / 255,
            128 + 224 * (r - luma) / 1.402 / 255};
}

RgbImage randomFrame(int width, int height, unsigned seed) {
    RgbImage frame{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3)};
    std::mt19937 random(seed);
    for (std::uint8_t& byte : frame.pixels) {
        byte = static_cast<std::uint8_t>(random());
    }
    return frame;
}

TEST(YuvFrame, EachSampleIsTheStandardsValueWithinRoundingChromaFromTheMeanOfItsBlock) {
    // Even and odd sides: a missing pixel of a block is the edge pixel again.
    for (const auto& [width, height] : {std::pair{6, 4}, {7, 5}, {1, 1}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const RgbImage frame = randomFrame(width, height, width * 100 + height);
        const std::vector<std::uint8_t> planes = toYuv420(frame);
        const int chromaWidth = (width + 1) / 2, chromaHeight = (height + 1) / 2;
        ASSERT_EQ(planes.size(), std::size_t(width * height + 2 * chromaWidth * chromaHeight));
        const auto pixel = [&](int x, int y, int channel) {
            return double(
                frame.pixels[3 * (std::min(y, height - 1) * width + std::min(x, width - 1)) +
                             channel]);
        };
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Yuv exact = bt601(pixel(x, y, 0), pixel(x, y, 1), pixel(x, y, 2));
                EXPECT_NEAR(planes[y * width + x], exact.y, 0.75) << x << "," << y;
            }
        }
        const std::uint8_t* blue = planes.data() + width * height;
        const std::uint8_t* red = blue + chromaWidth * chromaHeight;
        for (int y = 0; y < chromaHeight; ++y) {
            for (int x = 0; x < chromaWidth; ++x) {
                double mean[3] = {};
                for (int channel = 0; channel < 3; ++channel) {
                    for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
                        mean[channel] += pixel(2 * x + dx, 2 * y + dy, channel) / 4;
                    }
                }
                const Yuv exact = bt601(mean[0], mean[1], mean[2]);
                EXPECT_NEAR(blue[y * chromaWidth + x], exact.cb, 0.75) << x << "," << y;
                EXPECT_NEAR(red[y * chromaWidth + x], exact.cr, 0.75) << x << "," << y;
            }
        }
    }
}

TEST(YuvFrame, BlackAndWhiteMeetTheStudioRangesEnds) {
    RgbImage frame{2, 2, {0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255}};
    EXPECT_EQ(toYuv420(frame), (std::vector<std::uint8_t>{16, 235, 16, 235, 128, 128}));
}

} // namespace
