// One offline rendering shared by every test process that asks for it: the first to ask renders
// into the test data folder while the others wait on a lock, and later ones find it done.
#pragma once

#include <string>
#include <vector>

struct SharedCapture {
    std::string folder;  // frames.csv and the frame_NNNNNN.png pictures
    int exitCode = -1;   // -1 when the renderer was killed or ran out of time
    std::string errors;  // what the renderer wrote to stderr
    std::string summary; // the command line and the folder, for failure messages
};

// Runs ombra-capture with `arguments` (everything but --out) in a folder without a soundtrack,
// unless a run of the same program build with the same arguments has already been made. The
// folder is named after a hash of the program's size and modification time and the arguments,
// so a rebuild renders afresh; runs of older builds are removed. A failed run is kept as well,
// so that the tests after it fail at once instead of rendering again: delete its folder to retry.
SharedCapture sharedCapture(const std::vector<std::string>& arguments);
