// An OpenAL source fed through a fixed ring of buffers, and the position heard from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include <AL/al.h>
#include <AL/alext.h>

class AudioQueue {
    struct Made {
        explicit Made() = default;
    };

  public:
    // A source for 16-bit samples at `rate` with 1 or 2 channels, and `bufferCount` buffers; needs
    // a current context; nullptr when OpenAL cannot provide them.
    static std::unique_ptr<AudioQueue> create(std::uint32_t rate, std::uint32_t channels,
                                              std::size_t bufferCount);

    AudioQueue(Made, std::uint32_t rate, std::uint32_t channels);
    ~AudioQueue();
    AudioQueue(const AudioQueue&) = delete;
    AudioQueue& operator=(const AudioQueue&) = delete;

    // Takes back the buffers the source has finished, counting their bytes as heard.
    void reclaimPlayed();
    bool hasIdleBuffer() const { return !idle_.empty(); }
    // Queues whole sample frames behind what is queued; needs an idle buffer.
    void push(const std::vector<std::uint8_t>& samples);

    void start();
    // A source that ran dry while more was to come stops; this sets it going again once buffers
    // are queued. Call it after reclaimPlayed(), or the source would replay its finished buffers.
    void resumeIfStarved();

    // Bytes heard so far: the finished buffers, plus the source's offset into the queue, less
    // what the device holds but has not yet sounded when OpenAL can tell.
    std::uint64_t heardBytes() const;
    // Nothing is queued any more.
    bool drained() const { return queuedSizes_.empty(); }

  private:
    // Sample frames from the start of the queue to what is sounding now; negative while the device
    // still holds samples of buffers already taken back.
    std::int64_t offsetHeardFrames() const;

    ALuint source_ = 0;
    std::vector<ALuint> buffers_;
    std::vector<ALuint> idle_;
    std::deque<std::size_t> queuedSizes_;
    std::uint64_t queuedBytes_ = 0;
    std::uint64_t playedBytes_ = 0;
    std::uint32_t rate_;
    std::uint32_t frameBytes_;
    ALenum format_;
    LPALGETSOURCEI64VSOFT latencyQuery_ = nullptr;
};
