// Swap pacing on X: the GLX swap-control extensions, the refresh rate from XRandR, and a sleep.
#include "app/swap_pacing.h"

#include <thread>

#include <GL/glx.h>
#include <X11/extensions/Xrandr.h>

#include "app/extension_names.h"

namespace {

bool offers(Display* display, const char* extension) {
    const char* const all = glXQueryExtensionsString(display, DefaultScreen(display));
    return all && listsExtension(all, extension);
}

template <typename Function> Function entryPoint(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

} // namespace

bool requestVsync() {
    Display* const display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable) {
        return false;
    }
    using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
    using SwapIntervalMesa = int (*)(unsigned);
    using SwapIntervalSgi = int (*)(int);
    if (offers(display, "GLX_EXT_swap_control")) {
        if (const auto set = entryPoint<SwapIntervalExt>("glXSwapIntervalEXT")) {
            set(display, drawable, 1);
            return true;
        }
    }
    if (offers(display, "GLX_MESA_swap_control")) {
        if (const auto set = entryPoint<SwapIntervalMesa>("glXSwapIntervalMESA")) {
            return set(1) == 0;
        }
    }
    if (offers(display, "GLX_SGI_swap_control")) {
        if (const auto set = entryPoint<SwapIntervalSgi>("glXSwapIntervalSGI")) {
            return set(1) == 0;
        }
    }
    return false;
}

double displayRefreshRate() {
    Display* const display = glXGetCurrentDisplay();
    int eventBase = 0, errorBase = 0;
    if (!display || !XRRQueryExtension(display, &eventBase, &errorBase)) {
        return 0.0;
    }
    XRRScreenConfiguration* const configuration =
        XRRGetScreenInfo(display, RootWindow(display, DefaultScreen(display)));
    if (!configuration) {
        return 0.0;
    }
    const short rate = XRRConfigCurrentRate(configuration);
    XRRFreeScreenConfigInfo(configuration);
    return rate > 0 ? rate : 0.0;
}

void sleepUntil(std::chrono::steady_clock::time_point deadline) {
    std::this_thread::sleep_until(deadline);
}
