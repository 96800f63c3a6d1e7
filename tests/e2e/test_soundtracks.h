// Soundtracks the end-to-end tests put in a working folder as "Ombra.mp3": real MP3s made with
// sox and lame, and the broken files a user may have there instead.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// A 44.1 kHz stereo sine tone of `seconds` encoded by lame, made once in the test data folder
// and shared by every test program.
std::string toneMp3(int seconds);

// One way of having no usable soundtrack.
struct BrokenSoundtrack {
    const char* name;
    // Puts the broken "Ombra.mp3" at `path` (or nothing, for a missing file).
    void (*place)(const std::string& path);
    // Some music decodes: the truncated file plays up to its cut, 2 s in.
    bool decodes;
};

// Names the kind in test listings.
inline void PrintTo(const BrokenSoundtrack& soundtrack, std::ostream* out) {
    *out << soundtrack.name;
}

// Missing, empty, truncated, random bytes, a WAV file under the MP3 name, and a directory.
const std::vector<BrokenSoundtrack>& brokenSoundtracks();
