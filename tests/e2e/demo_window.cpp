// The demo's window on an X display, found by its title, its pixels, and keys pressed in it.
#include "demo_window.h"

#include <X11/Xutil.h>

Window findDemoWindow(const std::string& display) {
    const ProcessResult found =
        runProcess({"xdotool", "search", "--onlyvisible", "--name", "^OMBRA$"}, ".",
                   std::chrono::seconds(10), {display});
    return found.exitCode == 0 ? std::stoul(found.out) : 0;
}

Shot screenshot(Display* x, Window window) {
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }); // a failed request answers null
    XWindowAttributes attributes{};
    XGetWindowAttributes(x, window, &attributes);
    Shot shot{attributes.width, attributes.height, {}};
    XImage* image = XGetImage(x, window, 0, 0, shot.width, shot.height, AllPlanes, ZPixmap);
    if (!image) {
        return {};
    }
    for (int i = 0; i < shot.width * shot.height; ++i) {
        shot.pixels.push_back(XGetPixel(image, i % shot.width, i / shot.width) & 0xFFFFFF);
    }
    XDestroyImage(image);
    return shot;
}

void pressKey(const std::string& display, const char* key) {
    runProcess({"xdotool", "search", "--sync", "--name", "^OMBRA$", "windowfocus", "--sync", "%1",
                "key", key},
               ".", std::chrono::seconds(60), {display});
}

double printedPosition(const ChildProcess& demo, const std::string& display) {
    const std::size_t had = demo.outSoFar().size();
    pressKey(display, "r");
    std::string out;
    if (!eventually([&] { return (out = demo.outSoFar()).size() > had && out.back() == ' '; })) {
        return -1;
    }
    return std::stod(out.substr(had));
}
