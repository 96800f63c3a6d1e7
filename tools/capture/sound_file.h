// A sound file made for one video: the built-in soundtrack's samples written whole as a WAV
// file in the temporary folder, for ffmpeg to read losslessly; removed when it goes.
#pragma once

#include <string>

#include "audio/sample_source.h"

class SoundFile {
  public:
    // Writes everything `source` holds as 16-bit PCM WAV under a new name. Throws
    // std::runtime_error when the file cannot be written.
    explicit SoundFile(SampleSource& source);
    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};
