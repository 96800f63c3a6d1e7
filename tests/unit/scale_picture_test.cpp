// The renderer's present step on the processor: the picture scaled into frames of other sizes.
#include <gtest/gtest.h>

#include "tools/capture/scale_picture.h"

namespace {

// Each pixel tells where it is: red the column's low byte, blue the row's, green their high bits.
RgbImage positionPicture() {
    RgbImage picture{640, 480, std::vector<std::uint8_t>(640 * 480 * 3)};
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            std::uint8_t* p = &picture.pixels[(row * 640 + column) * 3];
            p[0] = column & 255;
            p[1] = static_cast<std::uint8_t>((column >> 8) * 16 + (row >> 8));
            p[2] = row & 255;
        }
    }
    return picture;
}

// Whether picture pixel `source` is nearest to frame pixel `shown`'s centre: in it or on its edge.
bool isNearest(int source, int shown, int shownLength, int sourceLength) {
    const long centre = (2L * shown + 1) * sourceLength; // in units of 1 / (2 * shownLength)
    const long within = centre / (2L * shownLength);
    return source == within || (centre % (2L * shownLength) == 0 && source == within - 1);
}

TEST(ScalePicture, EachFramePixelShowsThePicturePixelNearestItsCentreBetweenBlackBars) {
    const RgbImage picture = positionPicture();
    EXPECT_EQ(scalePicture(picture, {640, 480}, false).pixels, picture.pixels);
    // Bars left and right, none, and above and below; sizes of odd ratios.
    const std::pair<Size, PixelRect> cases[] = {{{1920, 1080}, {240, 0, 1440, 1080}},
                                                {{1280, 960}, {0, 0, 1280, 960}},
                                                {{1000, 600}, {100, 0, 800, 600}},
                                                {{333, 500}, {0, 125, 333, 249}}};
    for (const auto& [size, box] : cases) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        const RgbImage frame = scalePicture(picture, size, false);
        ASSERT_EQ(frame.pixels.size(), static_cast<std::size_t>(size.width) * size.height * 3);
        int wrong = 0;
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const std::uint8_t* p = &frame.pixels[(y * size.width + x) * 3];
                const int column = p[0] + (p[1] >> 4) * 256, row = p[2] + (p[1] & 15) * 256;
                // Rows counted from the bottom, as the box's are.
                const int up = size.height - 1 - y, rowUp = 479 - row;
                const bool inside =
                    x >= box.x && x < box.x + box.width && up >= box.y && up < box.y + box.height;
                wrong += inside ? !isNearest(column, x - box.x, box.width, 640) ||
                                      !isNearest(rowUp, up - box.y, box.height, 480)
                                : p[0] + p[1] + p[2] != 0;
            }
        }
        EXPECT_EQ(wrong, 0);
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
    for (const auto& [x, mixed] : {std::pair{638, 0}, {639, 64}, {640, 191}, {641, 255}}) {
        EXPECT_EQ(level(smooth, x), mixed) << x;
    }
}

} // namespace
