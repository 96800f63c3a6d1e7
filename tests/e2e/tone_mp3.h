// The MP3 tones the tests make: a shell command writing `file`, a 440 Hz tone encoded by lame with
// its exact-length header after an ID3 tag whose title holds 0x1A bytes, which a reader that opens
// the file as text on Windows takes for the end of the file, long before the first frame.
#pragma once

#include <string>

inline std::string toneMp3Command(const std::string& file, const std::string& seconds,
                                  const std::string& rate = "44100",
                                  const std::string& channels = "2") {
    return "sox -n -r " + rate + " -c " + channels + " -t wav - synth " + seconds +
           " sine 440 | lame --quiet --id3v2-only --tt \"$(printf '\\032\\032\\032')\" - " + file;
}
