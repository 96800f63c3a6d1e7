// One offline rendering shared by every test process that asks for it: the first to ask renders
// into the test data folder while the others wait on a lock, and later ones find it done.
#pragma once

#include <string>
#include <vector>

// The folder of frames.csv and frame_NNNNNN.png that ombra-capture wrote when run with
// `arguments` (everything but --out) in a folder without a soundtrack. It runs only when this
// build of it has not yet run with these arguments; the latest run alone is kept, failed or not.
// Throws std::runtime_error with what the renderer said when it failed or ran out of time.
std::string sharedCapture(const std::vector<std::string>& arguments);
