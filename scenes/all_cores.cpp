// The helper threads of onAllCores.
#include "scenes/all_cores.h"

#include <system_error>
#include <thread>
#include <vector>

#include "audio/work_beside.h"

void onAllCores(const std::function<void(int share, int shares)>& work) {
    const int shares = workShares();
    std::vector<std::thread> helpers;
    std::vector<int> sharesLeft;
    for (int share = 1; share < shares; ++share) {
        try {
            helpers.emplace_back(work, share, shares);
        } catch (const std::system_error&) {
            sharesLeft.push_back(share);
        }
    }
    work(0, shares);
    for (const int share : sharesLeft) {
        work(share, shares);
    }
    for (std::thread& helper : helpers) {
        helper.join();
    }
}
