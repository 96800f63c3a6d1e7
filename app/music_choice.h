// Which music the production plays: a soundtrack file, the built-in soundtrack, or none. The demo
// and the renderer both decide here.
#pragma once

#include <string>

#include "app/soundtrack_search.h"

struct MusicChoice {
    enum class Kind { File, BuiltIn, Silent };
    Kind kind = Kind::BuiltIn;
    std::string file; // the file to play; for the built-in soundtrack, the one looked for
    // For the built-in soundtrack, where the file was looked for ("Ombra.mp3 is in none of: ...");
    // empty otherwise.
    std::string notFound;
};

// `silent` (--silent) wins. Otherwise the file the search gave: a file named on the command line
// is played even when it is missing, which then gives its own line and silence, since the user
// asked for it. Where the search found none, the built-in soundtrack, with a line naming the
// places looked in.
MusicChoice chooseMusic(bool silent, const SoundtrackSearch& search);
