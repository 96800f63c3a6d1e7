// Where a stream's samples come from: 16-bit samples at some rate and channel count, read in
// pieces. The MP3 decoder and the built-in soundtrack are two; the soundtrack module plays either.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class SampleSource {
  public:
    virtual ~SampleSource() = default;

    virtual std::uint32_t rate() const = 0;
    virtual std::uint32_t channels() const = 0;
    // Bytes of one sample frame (one 16-bit sample per channel).
    std::uint32_t frameBytes() const { return 2 * channels(); }
    std::uint32_t byteRate() const { return rate() * frameBytes(); }

    // The next whole sample frames, up to `maxBytes`, into `out` (replacing its content). Fewer,
    // or none, once the source has ended.
    virtual void read(std::size_t maxBytes, std::vector<std::uint8_t>& out) = 0;
    virtual bool ended() const = 0;

    // The length in bytes of everything the source holds, where it can be found cheaply and
    // trusted; empty otherwise. Leaves the source unfit for reading.
    virtual std::optional<std::uint64_t> scanLength() = 0;

    // Reads everything left; returns the bytes read since the source was opened.
    virtual std::uint64_t decodeToEnd() = 0;
};
