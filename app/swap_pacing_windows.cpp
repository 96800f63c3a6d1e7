// Swap pacing on Windows: WGL_EXT_swap_control, the refresh rate of the current display mode,
// and a high-resolution waitable timer (Sleep's own steps are some 15 ms).
#include "app/swap_pacing.h"

#include <windows.h>

#include <GL/gl.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

// One timer for the run; a system older than the high-resolution kind gets an ordinary one.
HANDLE frameTimer() {
    static const HANDLE timer = [] {
        HANDLE made = CreateWaitableTimerExW(
            nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
        return made ? made : CreateWaitableTimerW(nullptr, TRUE, nullptr);
    }();
    return timer;
}

} // namespace

bool requestVsync() {
    using SwapInterval = BOOL(WINAPI*)(int);
    const auto set = reinterpret_cast<SwapInterval>(
        reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    return set && set(1) == TRUE;
}

double displayRefreshRate() {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
        return 0.0;
    }
    // 0 and 1 stand for the hardware's default rate, which the mode does not tell.
    return mode.dmDisplayFrequency > 1 ? static_cast<double>(mode.dmDisplayFrequency) : 0.0;
}

void sleepUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    const auto ticks =
        std::chrono::duration_cast<std::chrono::duration<LONGLONG, std::ratio<1, 10'000'000>>>(left)
            .count();
    if (ticks <= 0) {
        return;
    }
    LARGE_INTEGER due;
    due.QuadPart = -ticks; // negative: relative, in 100 ns units
    const HANDLE timer = frameTimer();
    if (timer && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
        WaitForSingleObject(timer, INFINITE);
    } else {
        Sleep(static_cast<DWORD>(ticks / 10'000));
    }
}
