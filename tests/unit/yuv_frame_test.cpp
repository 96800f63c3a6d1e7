// Frames converted for the video: BT.601 studio-range YUV 4:2:0 against the standard's formulas.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "tools/capture/yuv_frame.h"

namespace {

// Y from 16 to 235, Cb and Cr from 16 to 240 around 128, for 8-bit R, G and B.
std::array<double, 3> bt601(double r, double g, double b) {
    const double y = 0.299 * r + 0.587 * g + 0.114 * b;
    return {16 + 219 * y / 255, 128 + 224 * (b - y) / 1.772 / 255,
            128 + 224 * (r - y) / 1.402 / 255};
}

TEST(YuvFrame, EachSampleIsTheStandardsValueChromaFromTheMeanOfItsTwoByTwoBlock) {
    EXPECT_EQ(toYuv420({2, 2, {0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255}}),
              (std::vector<std::uint8_t>{16, 235, 16, 235, 128, 128}));
    // Odd sides: a block's missing pixels are the edge pixels again.
    for (const auto& [width, height] : {std::pair{6, 4}, {7, 5}, {1, 1}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        RgbImage frame{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3)};
        std::mt19937 random(width * 100 + height);
        std::generate(frame.pixels.begin(), frame.pixels.end(), [&] { return random() & 255; });
        const std::vector<std::uint8_t> planes = toYuv420(frame);
        const int chromaWidth = (width + 1) / 2, chromaHeight = (height + 1) / 2;
        ASSERT_EQ(planes.size(), std::size_t(width * height + 2 * chromaWidth * chromaHeight));
        const auto pixel = [&, &p = frame.pixels](int x, int y, int channel) {
            return p[3 * (std::min(y, height - 1) * width + std::min(x, width - 1)) + channel];
        };
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                EXPECT_NEAR(planes[y * width + x],
                            bt601(pixel(x, y, 0), pixel(x, y, 1), pixel(x, y, 2))[0], 0.75);
            }
        }
        const std::uint8_t* blue = planes.data() + width * height;
        const std::uint8_t* red = blue + chromaWidth * chromaHeight;
        for (int y = 0; y < chromaHeight; ++y) {
            for (int x = 0; x < chromaWidth; ++x) {
                double mean[3] = {};
                for (int i = 0; i < 12; ++i) { // four pixels, three channels
                    mean[i % 3] += pixel(2 * x + i / 3 % 2, 2 * y + i / 6, i % 3) / 4.0;
                }
                const auto exact = bt601(mean[0], mean[1], mean[2]);
                EXPECT_NEAR(blue[y * chromaWidth + x], exact[1], 0.75) << x << "," << y;
                EXPECT_NEAR(red[y * chromaWidth + x], exact[2], 0.75) << x << "," << y;
            }
        }
    }
}

} // namespace
