// The renderer's present step on the processor: the picture scaled into frames of other sizes.
#include <gtest/gtest.h>

#include <map>

#include "tools/capture/scale_picture.h"

namespace {

// Every pixel of a 640x480 picture tells where it is: red and green the column, blue the row
// counted from the top.
RgbImage positionPicture() {
    RgbImage picture{640, 480, std::vector<std::uint8_t>(640 * 480 * 3)};
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            std::uint8_t* p = &picture.pixels[(row * 640 + column) * 3];
            p[0] = column & 255;
            p[1] = column >> 8;
            p[2] = static_cast<std::uint8_t>(row / 2);
        }
    }
    return picture;
}

int columnShown(const RgbImage& frame, int x, int y) {
    const std::uint8_t* p = &frame.pixels[(y * frame.width + x) * 3];
    return p[0] + 256 * p[1];
}

TEST(ScalePicture, RepeatsEachPictureColumnInOrderAcrossTheCentredRectangle) {
    const RgbImage picture = positionPicture();
    EXPECT_EQ(scalePicture(picture, {640, 480}, false).pixels, picture.pixels);
    // Left bar, runs of each column in the rectangle, right bar.
    const struct {
        Size size;
        int left, width;
        std::vector<int> runs; // how often a picture column may repeat
    } cases[] = {{{1920, 1080}, 240, 1440, {2, 3}},
                 {{1280, 960}, 0, 1280, {2}},
                 {{1920, 1440}, 0, 1920, {3}},
                 {{1000, 600}, 100, 800, {1, 2}}};
    for (const auto& [size, left, width, runs] : cases) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        const RgbImage frame = scalePicture(picture, size, false);
        ASSERT_EQ(frame.pixels.size(), static_cast<std::size_t>(size.width) * size.height * 3);
        const int middle = size.height / 2;
        std::map<int, int> repeats;
        for (int x = left; x < left + width; ++x) {
            ++repeats[columnShown(frame, x, middle)];
        }
        ASSERT_EQ(repeats.size(), 640u);
        EXPECT_EQ(repeats.begin()->first, 0);
        for (const auto& [column, count] : repeats) {
            EXPECT_NE(std::find(runs.begin(), runs.end(), count), runs.end()) << column;
        }
        for (const int x : {left - 1, left + width}) {
            if (x >= 0 && x < size.width) {
                const std::uint8_t* bar = &frame.pixels[(middle * size.width + x) * 3];
                EXPECT_EQ(bar[0] + bar[1] + bar[2], 0) << "bar at " << x;
            }
        }
    }
}

TEST(ScalePicture, SmoothMixesNeighboursWhereNearestKeepsThePicturesOwnLevels) {
    RgbImage halves{640, 480, std::vector<std::uint8_t>(640 * 480 * 3, 0)};
    for (int row = 0; row < 480; ++row) {
        std::fill_n(&halves.pixels[(row * 640 + 320) * 3], 320 * 3, 255);
    }
    const RgbImage crisp = scalePicture(halves, {1280, 960}, false);
    const RgbImage smooth = scalePicture(halves, {1280, 960}, true);
    const auto level = [](const RgbImage& frame, int x) {
        return frame.pixels[(480 * 1280 + x) * 3];
    };
    for (int x = 0; x < 1280; ++x) {
        EXPECT_EQ(level(crisp, x), x < 640 ? 0 : 255) << x;
    }
    // At twice the size a frame pixel's centre lies a quarter picture pixel off a picture
    // pixel's centre: next to the edge the two frame pixels mix a quarter and three quarters.
    EXPECT_EQ(level(smooth, 638), 0);
    EXPECT_EQ(level(smooth, 639), 64);
    EXPECT_EQ(level(smooth, 640), 191);
    EXPECT_EQ(level(smooth, 641), 255);
}

} // namespace
