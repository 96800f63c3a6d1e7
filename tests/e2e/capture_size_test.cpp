// The renderer's frames at other sizes: the production's 640x480 frames scaled by nearest
// neighbour into the centred rectangle with black bars, or filtered with --smooth.
#include <gtest/gtest.h>

#include "capture_files.h"
#include "child_process.h"

namespace {

// A frame of Scene 1 and one of its dissolve, at 10 frames a second.
const std::vector<std::string> frames{"--fps", "10", "--frames", "40,80", "--seed", "3"};

PngPicture render(const TempFolder& folder, const std::string& name,
                  std::vector<std::string> options, const std::string& frame) {
    options.insert(options.end(), frames.begin(), frames.end());
    options.insert(options.end(), {"--quiet", "--out", name});
    const ProcessResult result = runCapture(options, folder.path());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return readPng(folder / name + "/frame_0000" + frame + ".png");
}

// The picture pixels nearest to the centre of shown pixel `shown` along one side: one, or two
// where the centre lies on the edge between them.
std::vector<int> nearest(int shown, int shownLength, int pictureLength) {
    const long centre = (2L * shown + 1) * pictureLength, unit = 2L * shownLength;
    const int within = static_cast<int>(centre / unit);
    return centre % unit == 0 ? std::vector<int>{within - 1, within} : std::vector<int>{within};
}

// Where `big` does not show `small` scaled by nearest neighbour into the rectangle from (left,
// top) of `width` x `height`, black elsewhere: the first such pixel, or nothing.
std::string flawIn(const PngPicture& big, const PngPicture& small, int left, int top, int width,
                   int height) {
    for (int y = 0; y < big.height; ++y) {
        for (int x = 0; x < big.width; ++x) {
            const std::uint8_t* shown = &big.rows[(y * big.width + x) * 3];
            const bool inside = x >= left && x < left + width && y >= top && y < top + height;
            bool matches = !inside && shown[0] == 0 && shown[1] == 0 && shown[2] == 0;
            if (inside) {
                for (const int row : nearest(y - top, height, 480)) {
                    for (const int column : nearest(x - left, width, 640)) {
                        const std::uint8_t* source = &small.rows[(row * 640 + column) * 3];
                        matches = matches || std::equal(shown, shown + 3, source);
                    }
                }
            }
            if (!matches) {
                return std::to_string(x) + "," + std::to_string(y);
            }
        }
    }
    return "";
}

TEST(CaptureSize, FramesShowThePictureScaledByNearestNeighbourBetweenBlackBars) {
    const TempFolder folder;
    for (const std::string frame : {"40", "80"}) {
        SCOPED_TRACE("frame " + frame);
        const PngPicture own = render(folder, "own", {}, frame);
        ASSERT_TRUE(own.is640x480Rgb);
        const PngPicture wide = render(folder, "wide", {"--size", "1920x1080"}, frame);
        ASSERT_EQ(wide.width, 1920);
        ASSERT_EQ(wide.height, 1080);
        EXPECT_EQ(flawIn(wide, own, 240, 0, 1440, 1080), "");
        const PngPicture twice = render(folder, "twice", {"--size", "1280x960"}, frame);
        EXPECT_EQ(flawIn(twice, own, 0, 0, 1280, 960), "");
        const PngPicture smooth =
            render(folder, "smooth", {"--size", "1280x960", "--smooth"}, frame);
        EXPECT_NE(flawIn(smooth, own, 0, 0, 1280, 960), "") << "--smooth kept the pixels crisp";
    }
}

} // namespace
