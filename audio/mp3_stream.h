// An MP3 file decoded by libmpg123 into 16-bit samples at the file's own rate and channel count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "audio/sample_source.h"

struct mpg123_handle_struct;

class Mp3Stream final : public SampleSource {
    struct Opened {
        explicit Opened() = default;
    };

  public:
    // Opens a regular file and finds its first MP3 frame; nullptr when there is none. Never blocks
    // on a special file (a named pipe, a device) and never prints anything.
    static std::unique_ptr<Mp3Stream> open(const char* path);

    // Only open() can name `Opened`; the stream owns the descriptor and the handle from here on.
    Mp3Stream(Opened, int fd, mpg123_handle_struct* handle);
    ~Mp3Stream() override;
    Mp3Stream(const Mp3Stream&) = delete;
    Mp3Stream& operator=(const Mp3Stream&) = delete;

    std::uint32_t rate() const override { return rate_; }
    std::uint32_t channels() const override { return channels_; }

    // Decodes the next whole sample frames, up to `maxBytes`, into `out` (replacing its content).
    // Fewer, or none, once the stream has ended: at its last frame, at a cut or at data that does
    // not decode.
    void read(std::size_t maxBytes, std::vector<std::uint8_t>& out) override;
    bool ended() const override { return ended_; }

    // The length in bytes of everything the stream decodes to, found by parsing every frame header
    // without decoding, a few times faster than decoding. Empty when that count cannot be trusted:
    // a file whose header declares its exact length and start delay but whose frames end sooner
    // (a cut file) decodes to less than its frames hold. Leaves the stream unfit for decoding.
    std::optional<std::uint64_t> scanLength() override;

    // Decodes everything left; returns the bytes decoded since the stream was opened.
    std::uint64_t decodeToEnd() override;

  private:
    bool findFormat();

    int fd_;
    mpg123_handle_struct* handle_;
    std::uint32_t rate_ = 0;
    std::uint32_t channels_ = 0;
    std::uint64_t decodedBytes_ = 0;
    bool ended_ = false;
};
