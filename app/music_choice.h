// Which music the production plays: a soundtrack file, the built-in soundtrack, or none. The demo
// and the renderer both decide here.
#pragma once

#include <optional>
#include <string>

struct MusicChoice {
    enum class Kind { File, BuiltIn, Silent };
    Kind kind = Kind::BuiltIn;
    std::string file; // the file to play; for the built-in soundtrack, the one looked for
    // One line for stderr, saying why the built-in soundtrack plays; empty otherwise.
    std::string notice;
};

// The soundtrack file looked for where none is named.
inline constexpr const char* defaultSoundtrackFile = "Ombra.mp3";

// `silent` (--silent) wins. A file named on the command line (`named`) is played even when it is
// missing, which then gives its own line and silence, since the user asked for it. Otherwise the
// default file where the lookup `found` it, and the built-in soundtrack where it did not.
MusicChoice chooseMusic(bool silent, const std::optional<std::string>& named,
                        const std::optional<std::string>& found);

// Today's lookup: the default file in the working directory, where it exists.
std::optional<std::string> findSoundtrackFile();
