// An X display of a test's own: a private Xvfb server, so that keys sent to the window titled
// OMBRA reach this test's demo and not the window of another test running on the shared display.
#pragma once

#include <string>

#include "child_process.h"

class VirtualDisplay {
  public:
    // Starts Xvfb on a free display number, 1024x768 at 24 bits.
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool ready() const { return !displayName.empty(); }
    // "DISPLAY=:N", for the environment of the programs that are to use it.
    std::string environmentEntry() const { return "DISPLAY=" + displayName; }

  private:
    TempFolder folder;
    ChildProcess server;
    std::string displayName;
};
