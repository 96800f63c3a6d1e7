// The demo's window on an X display, found by its title, and its pixels.
#include "demo_window.h"

#include <X11/Xutil.h>

#include "child_process.h"

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
