// The renderer's frames at other sizes: its 640x480 frames scaled as its unit-tested scaling does.
#include <gtest/gtest.h>

#include "capture_files.h"
#include "child_process.h"
#include "tools/capture/scale_picture.h"

namespace {

TEST(CaptureSize, FramesShowThePictureScaledIntoTheCentredRectangleBetweenBlackBars) {
    const TempFolder folder;
    // A frame of Scene 1 and one of its dissolve, at 10 frames a second.
    const auto render = [&folder](const std::string& name, std::vector<std::string> options) {
        options.insert(options.end(), {"--fps", "10", "--frames", "40,80", "--seed", "3", "--quiet",
                                       "--out", name});
        const ProcessResult result = runCapture(options, folder.path());
        EXPECT_EQ(result.exitCode, 0) << result.err;
    };
    render("own", {});
    render("wide", {"--size", "1920x1080"});
    render("smooth", {"--size", "1280x960", "--smooth"});
    render("tall", {"--size", "640x960"});
    for (const std::string frame : {"/frame_000040.png", "/frame_000080.png"}) {
        SCOPED_TRACE(frame);
        const PngPicture own = readPng(folder / "own" + frame);
        ASSERT_TRUE(own.is640x480Rgb);
        const RgbImage picture{640, 480, own.rows};
        const PngPicture wide = readPng(folder / "wide" + frame);
        EXPECT_EQ(std::tie(wide.width, wide.height), std::tuple(1920, 1080));
        EXPECT_TRUE(wide.rows == scalePicture(picture, {1920, 1080}, false).pixels);
        EXPECT_TRUE(readPng(folder / "smooth" + frame).rows ==
                    scalePicture(picture, {1280, 960}, true).pixels);
        EXPECT_TRUE(readPng(folder / "tall" + frame).rows ==
                    scalePicture(picture, {640, 960}, false).pixels);
    }
}

} // namespace
