// Choosing the production's music from the command line and the soundtrack search.
#include "app/music_choice.h"

MusicChoice chooseMusic(bool silent, const SoundtrackSearch& search) {
    if (silent) {
        return {MusicChoice::Kind::Silent, {}, {}};
    }
    if (search.file) {
        return {MusicChoice::Kind::File, search.file->string(), {}};
    }
    return {MusicChoice::Kind::BuiltIn, soundtrackName, notFoundText(search)};
}
