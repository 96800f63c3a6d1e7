// Reading the built-in soundtrack: the synthesiser's samples as little-endian bytes.
#include "audio/built_in_track.h"

#include "music/oscillators.h"

std::uint32_t BuiltInTrack::rate() const {
    return Music::sampleRate;
}

std::uint32_t BuiltInTrack::channels() const {
    return Music::Synthesiser::channels;
}

void BuiltInTrack::read(std::size_t maxBytes, std::vector<std::uint8_t>& out) {
    const std::size_t wanted = maxBytes / frameBytes();
    samples_.resize(wanted * channels());
    const std::size_t frames = synthesiser_.render(next_, wanted, samples_.data());
    next_ += static_cast<std::uint32_t>(frames);
    out.resize(frames * frameBytes());
    for (std::size_t i = 0; i < frames * channels(); ++i) {
        const auto bits = static_cast<std::uint16_t>(samples_[i]);
        out[2 * i] = static_cast<std::uint8_t>(bits & 0xFF);
        out[2 * i + 1] = static_cast<std::uint8_t>(bits >> 8);
    }
}

std::optional<std::uint64_t> BuiltInTrack::scanLength() {
    return static_cast<std::uint64_t>(synthesiser_.frames()) * frameBytes();
}

std::uint64_t BuiltInTrack::decodeToEnd() {
    next_ = synthesiser_.frames();
    return static_cast<std::uint64_t>(next_) * frameBytes();
}
