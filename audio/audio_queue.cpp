// Streaming 16-bit samples through an OpenAL source and telling how far it has been heard.
#include "audio/audio_queue.h"

#include <algorithm>

std::unique_ptr<AudioQueue> AudioQueue::create(std::uint32_t rate, std::uint32_t channels,
                                               std::size_t bufferCount) {
    auto queue = std::make_unique<AudioQueue>(Made{}, rate, channels);
    alGetError(); // forget what an earlier call left behind
    alGenSources(1, &queue->source_);
    if (alGetError() != AL_NO_ERROR) {
        queue->source_ = 0;
        return nullptr;
    }
    std::vector<ALuint> buffers(bufferCount);
    alGenBuffers(static_cast<ALsizei>(bufferCount), buffers.data());
    if (alGetError() != AL_NO_ERROR) {
        return nullptr;
    }
    queue->buffers_ = buffers;
    queue->idle_ = buffers;
    if (alIsExtensionPresent("AL_SOFT_source_latency")) {
        queue->latencyQuery_ =
            reinterpret_cast<LPALGETSOURCEI64VSOFT>(alGetProcAddress("alGetSourcei64vSOFT"));
    }
    return queue;
}

AudioQueue::AudioQueue(Made, std::uint32_t rate, std::uint32_t channels)
    : rate_(rate), frameBytes_(2 * channels),
      format_(channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16) {}

AudioQueue::~AudioQueue() {
    if (source_ != 0) {
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, 0); // unqueues everything, so the buffers can go
        alDeleteSources(1, &source_);
    }
    if (!buffers_.empty()) {
        alDeleteBuffers(static_cast<ALsizei>(buffers_.size()), buffers_.data());
    }
}

void AudioQueue::reclaimPlayed() {
    ALint processed = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0 && !queuedSizes_.empty(); --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source_, 1, &buffer);
        if (alGetError() != AL_NO_ERROR) {
            break;
        }
        idle_.push_back(buffer);
        playedBytes_ += queuedSizes_.front();
        queuedBytes_ -= queuedSizes_.front();
        queuedSizes_.pop_front();
    }
}

void AudioQueue::push(const std::vector<std::uint8_t>& samples) {
    if (samples.empty() || idle_.empty()) {
        return;
    }
    const ALuint buffer = idle_.back();
    alBufferData(buffer, format_, samples.data(), static_cast<ALsizei>(samples.size()),
                 static_cast<ALsizei>(rate_));
    alSourceQueueBuffers(source_, 1, &buffer);
    if (alGetError() != AL_NO_ERROR) {
        return;
    }
    idle_.pop_back();
    queuedSizes_.push_back(samples.size());
    queuedBytes_ += samples.size();
}

void AudioQueue::start() {
    alSourcePlay(source_);
}

void AudioQueue::resumeIfStarved() {
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED && !queuedSizes_.empty()) {
        alSourcePlay(source_);
    }
}

std::uint64_t AudioQueue::heardBytes() const {
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED) {
        return playedBytes_ + queuedBytes_; // a stopped source has sounded all it had
    }
    if (state != AL_PLAYING && state != AL_PAUSED) {
        return playedBytes_;
    }
    const std::int64_t heard = static_cast<std::int64_t>(playedBytes_) +
                               offsetHeardFrames() * static_cast<std::int64_t>(frameBytes_);
    const std::uint64_t ceiling = playedBytes_ + queuedBytes_;
    return heard <= 0 ? 0 : std::min(static_cast<std::uint64_t>(heard), ceiling);
}

std::int64_t AudioQueue::offsetHeardFrames() const {
    if (latencyQuery_) {
        ALint64SOFT values[2] = {0, 0}; // 32.32 fixed-point sample offset, latency in nanoseconds
        latencyQuery_(source_, AL_SAMPLE_OFFSET_LATENCY_SOFT, values);
        const std::int64_t latencyFrames =
            values[1] * static_cast<std::int64_t>(rate_) / 1'000'000'000;
        return (values[0] >> 32) - latencyFrames;
    }
    ALint offset = 0;
    alGetSourcei(source_, AL_SAMPLE_OFFSET, &offset);
    return offset;
}
