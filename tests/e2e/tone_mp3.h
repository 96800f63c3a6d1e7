// The MP3 tones the tests make with sox and lame.
#pragma once

#include <string>

// A shell command writing `file`: a 440 Hz tone, encoded by lame with its exact-length header,
// after an ID3 tag whose title holds 0x1A bytes. A reader that opens the file as text on Windows
// takes the first of them, long before the first frame, for the end of the file.
inline std::string toneMp3Command(const std::string& file, const std::string& seconds,
                                  const std::string& rate = "44100",
                                  const std::string& channels = "2") {
    return "sox -n -r " + rate + " -c " + channels + " -t wav - synth " + seconds +
           " sine 440 | lame --quiet --id3v2-only --tt \"$(printf '\\032\\032\\032')\" - " + file;
}
