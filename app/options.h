// The demo's command line.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/window.h"

struct DemoOptions {
    SurfaceRequest surface;
    std::optional<std::string> soundtrack; // --soundtrack; else Ombra.mp3 where it is found
    bool silent = false;                   // --silent: no music
    bool smooth = false; // scale the picture with linear filtering instead of nearest neighbour
    bool stats = false;  // a summary of the frames shown on stderr at the end
};

// What the command line asks for: play with its options, or print a text and stop.
struct DemoCommandLine {
    enum class Action { Play, ShowHelp, ShowVersion };
    Action action = Action::Play;
    DemoOptions options;
    std::string text;                     // the help or version text
    std::vector<std::string> glutOptions; // GLUT's own options, such as -display NAME, in order
};

// A command line the demo cannot run; the message names the problem in one line.
struct DemoUsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name. GLUT's own options are set aside for glutInit;
// everything else must be ours. Throws DemoUsageError for an unknown option or a bad value.
DemoCommandLine parseDemoCommandLine(const std::vector<std::string>& arguments);

// Sizes written as WIDTHxHEIGHT, such as 1280x960: each side from 1 to 16384 pixels.
bool parseSize(const std::string& text, Size& size);
