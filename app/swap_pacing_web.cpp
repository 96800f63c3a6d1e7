// Keeping to the display's refresh in the browser: the page draws from its animation-frame
// callback, which the browser calls once per refresh, so there is nothing to ask for or wait.
#include "app/swap_pacing.h"

bool requestVsync() {
    return true;
}

double displayRefreshRate() {
    return 0.0; // the browser does not tell; its frame callback keeps to the refresh anyway
}

void sleepUntil(std::chrono::steady_clock::time_point) {}
