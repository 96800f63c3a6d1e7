// The demo on screens larger than its picture: full screen on a 1920x1080 display and a window
// resized while it plays, checked on screenshots; the keys work in both.
#include <memory>
#include <regex>
#include <thread>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "app/letterbox.h"
#include "child_process.h"
#include "demo_window.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The picture's pixels nearest to shown pixel `shown`'s centre: two where it lies on their edge.
std::pair<int, int> nearest(int shown, int shownLength, int pictureLength) {
    const long centre = (2L * shown + 1) * pictureLength;
    const int within = static_cast<int>(centre / (2L * shownLength));
    return {centre % (2L * shownLength) == 0 ? within - 1 : within, within};
}

// What is wrong with a shot of the picture scaled nearest into `box`, black around, not all black;
// "" if nothing. One-nearest pixels rebuild the picture; edge pixels show one of their two.
std::string flawIn(const Shot& shot, const PixelRect& box) {
    std::vector<long> picture(640 * 480, -1);
    bool lit = false;
    for (const bool onEdges : {false, true}) {
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                const long pixel = static_cast<long>(shot.at(x, y));
                const std::string where = " at " + std::to_string(x) + "," + std::to_string(y);
                if (x < box.x || x >= box.x + box.width || y < box.y || y >= box.y + box.height) {
                    if (pixel != 0) {
                        return "a bar is not black" + where;
                    }
                    continue;
                }
                lit = lit || pixel != 0;
                const auto columns = nearest(x - box.x, box.width, 640);
                const auto rows = nearest(y - box.y, box.height, 480);
                if ((columns.first != columns.second || rows.first != rows.second) != onEdges) {
                    continue;
                }
                bool shown = false;
                for (const int row : {rows.first, rows.second}) {
                    for (const int column : {columns.first, columns.second}) {
                        long& source = picture[row * 640 + column];
                        source = source < 0 ? pixel : source;
                        shown = shown || source == pixel;
                    }
                }
                if (!shown) {
                    return "not a nearest-neighbour scaling" + where;
                }
            }
        }
    }
    return lit ? "" : "nothing shown";
}

// Waits until the window shows the picture in its size's box, moving: drawn, not left over.
std::string awaitPicture(Display* x, Window window, Size expectedSize) {
    std::string flaw = "no screenshot";
    std::vector<unsigned long> first;
    const auto deadline = Clock::now() + 60s;
    while (Clock::now() < deadline) {
        const Shot shot = screenshot(x, window);
        flaw =
            shot.width == expectedSize.width && shot.height == expectedSize.height
                ? flawIn(shot, letterbox(expectedSize, {640, 480}))
                : "the window is " + std::to_string(shot.width) + "x" + std::to_string(shot.height);
        if (flaw.empty() && first.empty()) {
            first = shot.pixels;
        } else if (flaw.empty() && shot.pixels != first) {
            break;
        }
        flaw = flaw.empty() ? "the picture stands still" : flaw;
        std::this_thread::sleep_for(50ms);
    }
    return flaw;
}

// Plays the demo on a `screen` display, `watch` checking its window; then `r` and Esc must work.
void playOnScreen(const std::string& screen, std::vector<std::string> options,
                  const std::function<void(Display*, Window)>& watch) {
    const TempFolder folder;
    const PrivateDisplay display(folder, screen);
    const std::unique_ptr<Display, int (*)(Display*)> x(XOpenDisplay(display.name.c_str()),
                                                        XCloseDisplay);
    ASSERT_NE(x, nullptr);
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }); // a failed request answers null
    options.insert(options.begin(), builtProgram("ombra"));
    ChildProcess demo(options, folder.path(), {display.variable});
    Window window = 0;
    eventually([&] { return (window = findDemoWindow(display.variable)) != 0; });
    ASSERT_NE(window, 0u) << "no window: " << demo.errSoFar();
    watch(x.get(), window);
    const ChildProcess typist(
        {"xdotool", "windowfocus", "--sync", std::to_string(window), "key", "r", "Escape"},
        folder.path(), {display.variable});
    const ProcessResult result = demo.wait(60s);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(std::regex_match(result.out, std::regex("Please wait\\.\n(\\.\\.\\. ){6}[0-9]+ ")))
        << result.out;
}

TEST(Screen, FullScreenCoversTheDisplayWithThePictureScaledBetweenBlackBars) {
    playOnScreen("1920x1080", {"--fullscreen"}, [](Display* x, Window window) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(x, window, &attributes);
        EXPECT_EQ(attributes.x, 0);
        EXPECT_EQ(attributes.y, 0);
        EXPECT_EQ(awaitPicture(x, window, {1920, 1080}), "");
    });
}

// Linear filtering shows colours between neighbouring pixels, which nearest-neighbour never does.
TEST(Screen, SmoothFullScreenBlendsNeighbouringPixels) {
    playOnScreen("1920x1080", {"--fullscreen", "--smooth"}, [](Display* x, Window window) {
        std::string flaw = "nothing shown";
        for (const auto end = Clock::now() + 60s; flaw == "nothing shown" && Clock::now() < end;) {
            flaw = flawIn(screenshot(x, window), letterbox({1920, 1080}, {640, 480}));
        }
        EXPECT_EQ(flaw.substr(0, 31), "not a nearest-neighbour scaling") << flaw;
    });
}

// A window of the picture's own size is drawn on directly; others get the picture scaled.
TEST(Screen, AResizedWindowShowsThePictureScaledToItsNewSize) {
    playOnScreen("1600x1200", {"--window", "640x480"}, [](Display* x, Window window) {
        // Without a window manager the window hangs a pixel off the screen's corner, where its
        // contents cannot be read back; a window manager would place it somewhere.
        XMoveWindow(x, window, 0, 0);
        EXPECT_EQ(awaitPicture(x, window, {640, 480}), "");
        for (const Size size :
             {Size{1000, 600}, Size{800, 800}, Size{640, 960}, Size{640, 480}, Size{700, 500}}) {
            XResizeWindow(x, window, static_cast<unsigned>(size.width),
                          static_cast<unsigned>(size.height));
            XSync(x, False);
            ASSERT_EQ(awaitPicture(x, window, size), "") << size.width << "x" << size.height;
        }
    });
}

} // namespace
