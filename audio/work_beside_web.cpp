// Work beside the frames in the browser, built without threads: everything runs inline on the
// page's one thread.
#include "audio/work_beside.h"

bool threadsBeside() {
    return false;
}

int workShares() {
    return 1;
}

std::launch besideLaunch() {
    return std::launch::deferred;
}

void runDetached(std::function<void()> work) {
    work();
}
