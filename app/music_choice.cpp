// Choosing the production's music from the command line and the soundtrack file found.
#include "app/music_choice.h"

#include <filesystem>
#include <system_error>

MusicChoice chooseMusic(bool silent, const std::optional<std::string>& named,
                        const std::optional<std::string>& found) {
    if (silent) {
        return {MusicChoice::Kind::Silent, {}, {}};
    }
    if (named) {
        return {MusicChoice::Kind::File, *named, {}};
    }
    if (found) {
        return {MusicChoice::Kind::File, *found, {}};
    }
    return {MusicChoice::Kind::BuiltIn, defaultSoundtrackFile,
            std::string(defaultSoundtrackFile) +
                " not found: playing OMBRA's own soundtrack, synthesised as it plays"};
}

std::optional<std::string> findSoundtrackFile() {
    std::error_code error;
    if (std::filesystem::exists(defaultSoundtrackFile, error)) {
        return std::string(defaultSoundtrackFile);
    }
    return std::nullopt;
}
