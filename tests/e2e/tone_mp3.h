// The MP3 tones the tests make: a shell command writing `file`, a 440 Hz tone, lame's exact-length
// header behind an ID3 title of 0x1A bytes, which a file opened as text on Windows ends at.
#pragma once

#include <string>

inline std::string toneMp3Command(const std::string& file, const std::string& seconds,
                                  const std::string& rate = "44100",
                                  const std::string& channels = "2") {
    return "sox -n -r " + rate + " -c " + channels + " -t wav - synth " + seconds +
           " sine 440 | lame --quiet --id3v2-only --tt \"$(printf '\\032\\032\\032')\" - " + file;
}
