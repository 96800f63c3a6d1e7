// Sharing a picture's work out between the processor's cores for the time of one call.
#pragma once

#include <functional>

// Runs work(share, shares) for every share from 0 to shares - 1, one share a core (at most 16;
// one where no threads run beside the caller, as in the browser):
// the caller takes share 0 and helper threads the others, all joined before returning. A helper
// that cannot be started leaves its share to the caller.
void onAllCores(const std::function<void(int share, int shares)>& work);
