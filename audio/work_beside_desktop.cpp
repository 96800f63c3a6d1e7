// Work beside the frames on the desktop: threads of its own.
#include "audio/work_beside.h"

#include <algorithm>
#include <system_error>
#include <thread>

bool threadsBeside() {
    return true;
}

int workShares() {
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 16);
}

std::launch besideLaunch() {
    return std::launch::async;
}

void runDetached(std::function<void()> work) {
    try {
        std::thread(work).detach();
    } catch (const std::system_error&) {
        work();
    }
}
