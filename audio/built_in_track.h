// The built-in soundtrack as a source of samples: 44.1 kHz 16-bit stereo, synthesised piece by
// piece as it is read, so that nothing is made before it is needed.
#pragma once

#include <memory>

#include "audio/sample_source.h"
#include "music/synthesiser.h"

class BuiltInTrack final : public SampleSource {
  public:
    static std::unique_ptr<SampleSource> open() { return std::make_unique<BuiltInTrack>(); }

    std::uint32_t rate() const override;
    std::uint32_t channels() const override;
    void read(std::size_t maxBytes, std::vector<std::uint8_t>& out) override;
    bool ended() const override { return next_ == synthesiser_.frames(); }
    std::optional<std::uint64_t> scanLength() override;
    std::uint64_t decodeToEnd() override;

  private:
    Music::Synthesiser synthesiser_;
    std::uint32_t next_ = 0; // the next frame to read
    std::vector<std::int16_t> samples_;
};
