// The soundtrack module: MP3 streams played on the OpenAL output and kept fed by a thread of the
// module's own, or, without an output, silent streams whose position follows the DemoClock.
#include "audio/soundtrack.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "audio/audio_device.h"
#include "audio/audio_queue.h"
#include "audio/built_in_track.h"
#include "audio/mp3_stream.h"
#include "audio/output_reopening.h"
#include "audio/work_beside.h"
#include "clock/demo_clock.h"

namespace Soundtrack {
namespace {

// A buffer holds 50 ms; eight of them keep 400 ms queued, so the output rides out a stall of the
// feeder thread well beyond 250 ms.
constexpr std::uint32_t buffersPerSecond = 20;
constexpr std::size_t queuedBuffers = 8;
// play() queues this many itself, so the source starts with 150 ms; the feeder adds the rest.
constexpr std::size_t primedBuffers = 3;
// How often the feeder looks for finished buffers: a fifth of a buffer.
constexpr auto feedInterval = std::chrono::milliseconds(10);
// Silence queued behind the last sample keeps the source going while the device sounds what it
// still holds (its latency), so the position reaches the end when the end is heard.
constexpr std::size_t tailBuffers = 2;
// An output is taken as lost when it sounds this far ahead of the time played (a device that went
// away lets its source run through the buffers at once), or hears nothing new for this long
// while it holds samples to sound.
constexpr DemoClock::Ticks aheadAllowed = DemoClock::ticksPerSecond / 4;
constexpr DemoClock::Ticks stallAllowed = 2 * DemoClock::ticksPerSecond;

// The exact length of a silent stream, found on a thread of its own. The thread shares this
// record and owns the decoder, so nothing it touches goes away under it, not even at exit.
struct LengthMeasure {
    std::mutex lock;
    std::condition_variable found;
    std::optional<std::uint64_t> length;

    void publish(std::uint64_t bytes) {
        {
            const std::lock_guard<std::mutex> hold(lock);
            length = bytes;
        }
        found.notify_all();
    }
    std::uint64_t await() {
        std::unique_lock<std::mutex> hold(lock);
        found.wait(hold, [this] { return length.has_value(); });
        return *length;
    }
};

// Opens a stream's source afresh.
using Opener = std::function<std::unique_ptr<SampleSource>()>;

struct Track {
    std::uint32_t byteRate = 0;
    std::uint32_t frameBytes = 1;
    std::unique_ptr<SampleSource> decoder; // gone once decoded to its end
    std::vector<std::uint8_t> piece;       // decoded and waiting for a buffer
    bool started = false;

    // Played on the output: the position is what the output has sounded.
    std::unique_ptr<AudioQueue> output;
    std::uint64_t queuedSampleBytes = 0; // of the stream, not of the silent tail
    std::size_t tailQueued = 0;
    std::uint64_t lastHeard = 0;
    DemoClock::Ticks lastHeardChanged = 0;
    Opener reopen; // read again for the length should the output go, or to play on when back
    bool lost = false;
    std::uint64_t resumedAt = 0; // where the stream stood when its output came back
    bool warmingUp = false;      // back, but sounding nothing yet: the clock goes on meanwhile

    // Silent: the position follows the DemoClock from startTicks, up to the length. A stream
    // whose output went carries on from what was heard, its startTicks moved to match.
    DemoClock::Ticks startTicks = 0;
    std::uint64_t knownBytes = 0;           // decoded at open: the stream is at least this long
    std::shared_ptr<LengthMeasure> measure; // none for a stream without end
};

struct Module;
bool reopenLostOutput(Module& m);

struct Module {
    std::mutex lock;
    std::map<Stream, std::unique_ptr<Track>> tracks;
    Stream lastStream = 0;
    std::unique_ptr<AudioDevice> output;
    std::future<std::unique_ptr<AudioDevice>> opening; // the output while it opens beside us
    bool outputTried = false;
    bool forcedSilent = false;
    std::uint32_t missingFileByteRate = 0;

    std::thread feeder;
    std::condition_variable feederWake;
    bool stopping = false;

    OutputReopening reopening{[this] { return reopenLostOutput(*this); }};

    // Runs at exit too (the production's end calls exit without release): the feeder is joined
    // before anything it uses goes, and the output closes while OpenAL is still loaded.
    ~Module() { shutDown(); }
    void shutDown();
};

Module& module() {
    static Module instance;
    return instance;
}

std::size_t bufferBytes(const Track& track) {
    const std::size_t bytes = track.byteRate / buffersPerSecond;
    return bytes - bytes % track.frameBytes;
}

// Bytes of whole sample frames that `elapsed` ticks hold, rounded down.
std::uint64_t bytesAfter(DemoClock::Ticks elapsed, std::uint32_t byteRate,
                         std::uint32_t frameBytes) {
    constexpr DemoClock::Ticks second = DemoClock::ticksPerSecond;
    const std::uint64_t bytes = elapsed / second * byteRate + elapsed % second * byteRate / second;
    return bytes - bytes % frameBytes;
}

void reportUnopened(const char* path) {
    const std::string line =
        std::string(path ? path : "") + ": soundtrack could not be opened; playing without music\n";
    std::fputs(line.c_str(), stderr);
}

// ---- Streams on the output ------------------------------------------------------------------

void queuePiece(Track& track) {
    track.output->push(track.piece);
    track.queuedSampleBytes += track.piece.size();
}

// Queues the decoder's next piece; drops the decoder at the stream's end.
void queueNextPiece(Track& track) {
    track.decoder->read(bufferBytes(track), track.piece);
    queuePiece(track);
    if (track.decoder->ended()) {
        track.decoder.reset();
    }
}

void queueSilentTail(Track& track) {
    track.piece.assign(bufferBytes(track), 0);
    track.output->push(track.piece);
    ++track.tailQueued;
}

void keepFed(Track& track) {
    track.output->reclaimPlayed();
    while (track.decoder && track.output->hasIdleBuffer()) {
        queueNextPiece(track);
    }
    while (!track.decoder && track.tailQueued < tailBuffers && track.output->hasIdleBuffer()) {
        queueSilentTail(track);
    }
    track.output->resumeIfStarved();
}

void startOnOutput(Track& track) {
    queuePiece(track);
    for (std::size_t i = 1; i < primedBuffers && track.decoder; ++i) {
        queueNextPiece(track);
    }
    track.output->start();
}

std::uint64_t silentPosition(const Track& track);

std::uint64_t heardOnOutput(Track& track) {
    const std::uint64_t sounded = track.output->heardBytes();
    track.warmingUp = track.warmingUp && sounded == 0;
    const std::uint64_t heard = track.warmingUp
                                    ? std::min(silentPosition(track), track.resumedAt)
                                    : std::min(track.resumedAt + sounded, track.queuedSampleBytes);
    if (heard > track.lastHeard) {
        track.lastHeard = heard;
        track.lastHeardChanged = DemoClock::now();
    }
    return track.lastHeard;
}

// ---- Silent streams -------------------------------------------------------------------------

// The length comes from parsing the frame headers where that is exact (a few tens of
// milliseconds for a long file), else from decoding the file afresh (a few times longer). Either
// runs beside the caller, who waits for it only once the clock has passed what open decoded.
void measureLength(Track& track, const Opener& reopen, std::unique_ptr<SampleSource> decoder) {
    track.measure = std::make_shared<LengthMeasure>();
    if (decoder->ended()) {
        track.measure->publish(track.knownBytes);
        return;
    }
    auto work = [measure = track.measure, knownBytes = track.knownBytes, reopen,
                 decoder = std::shared_ptr<SampleSource>(std::move(decoder))] {
        std::optional<std::uint64_t> length = decoder->scanLength();
        if (!length) {
            const auto fresh = reopen();
            length = fresh ? fresh->decodeToEnd() : knownBytes;
        }
        measure->publish(std::max(*length, knownBytes));
    };
    runDetached(work);
}

std::uint64_t silentPosition(const Track& track) {
    const DemoClock::Ticks now = DemoClock::now();
    if (now <= track.startTicks) {
        return 0;
    }
    const std::uint64_t bytes =
        bytesAfter(now - track.startTicks, track.byteRate, track.frameBytes);
    if (!track.measure || bytes <= track.knownBytes) {
        return bytes;
    }
    return std::min(bytes, track.measure->await());
}

// ---- Losing the output ----------------------------------------------------------------------

bool outputLost(const Module& m, Track& track) {
    const std::uint64_t heard = heardOnOutput(track);
    const DemoClock::Ticks now = DemoClock::now();
    const bool ahead =
        heard > bytesAfter(now - track.startTicks + aheadAllowed, track.byteRate, track.frameBytes);
    const bool stalled =
        heard < track.queuedSampleBytes && now - track.lastHeardChanged > stallAllowed;
    return ahead || stalled || !m.output->connected();
}

// The fewest ticks in which the clock reaches `bytes` at the track's byte rate.
DemoClock::Ticks ticksToReach(std::uint64_t bytes, const Track& track) {
    constexpr DemoClock::Ticks second = DemoClock::ticksPerSecond;
    return bytes / track.byteRate * second +
           (bytes % track.byteRate * second + track.byteRate - 1) / track.byteRate;
}

// The stream goes on as a silent one from what was heard, never past the time played.
void continueSilently(Track& track) {
    const DemoClock::Ticks now = DemoClock::now();
    const std::uint64_t played =
        bytesAfter(now - track.startTicks, track.byteRate, track.frameBytes);
    track.lastHeard = std::min(track.lastHeard, played);
    track.startTicks = now - ticksToReach(track.lastHeard, track);
    track.output.reset();
    track.lost = true;
    track.knownBytes = track.queuedSampleBytes;
    auto fresh = track.decoder ? track.reopen() : nullptr;
    track.decoder.reset();
    if (fresh) {
        measureLength(track, track.reopen, std::move(fresh));
    } else {
        track.measure = std::make_shared<LengthMeasure>();
        track.measure->publish(track.knownBytes);
    }
    std::fputs("The sound output was lost; the production plays on silently.\n", stderr);
    module().reopening.lost();
}

// ---- The feeder thread ---------------------------------------------------------------------

// One pass over the streams on the output, the module's lock held.
void feedOnce(Module& m) {
    for (auto& entry : m.tracks) {
        Track& track = *entry.second;
        if (track.output && track.started) {
            if (outputLost(m, track)) {
                continueSilently(track);
            } else {
                keepFed(track);
            }
        }
    }
}

void feed(Module& m) {
    std::unique_lock<std::mutex> hold(m.lock);
    while (!m.stopping) {
        feedOnce(m);
        m.feederWake.wait_for(hold, feedInterval);
    }
}

// Where no thread runs beside the frames, the frame loop feeds the streams (keepFed below).
bool ensureFeeder(Module& m) {
    if (m.feeder.joinable() || !threadsBeside()) {
        return true;
    }
    try {
        m.feeder = std::thread(feed, std::ref(m));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void stopFeeder(Module& m) {
    {
        const std::lock_guard<std::mutex> hold(m.lock);
        m.stopping = true;
    }
    m.feederWake.notify_all();
    if (m.feeder.joinable()) {
        m.feeder.join();
    }
    const std::lock_guard<std::mutex> hold(m.lock);
    m.stopping = false;
}

// ---- Module ---------------------------------------------------------------------------------

void Module::shutDown() {
    stopFeeder(*this);
    reopening.stop();
    const std::lock_guard<std::mutex> hold(lock);
    if (opening.valid()) {
        opening.get(); // the device closes as the result goes
    }
    tracks.clear(); // their sources go before the context that made them
    output.reset();
    outputTried = false;
    forcedSilent = false;
    missingFileByteRate = 0;
}

Stream addTrack(Module& m, std::unique_ptr<Track> track) {
    ++m.lastStream;
    if (m.lastStream == 0) {
        ++m.lastStream; // 0 names no stream
    }
    m.tracks[m.lastStream] = std::move(track);
    return m.lastStream;
}

Track* findTrack(Module& m, Stream stream) {
    const auto found = m.tracks.find(stream);
    return found == m.tracks.end() ? nullptr : found->second.get();
}

// ---- The output back -----------------------------------------------------------------------

// Where a silent stream stands by the clock, as position() tells it.
std::uint64_t clockPosition(Track& track) {
    track.lastHeard = std::max(track.lastHeard, silentPosition(track));
    return track.lastHeard;
}

// Decodes and drops the next `bytes`; false when the stream ends first.
bool skipSamples(SampleSource& decoder, std::uint64_t bytes, std::vector<std::uint8_t>& dropped) {
    for (std::uint64_t left = bytes; left > 0; left -= dropped.size()) {
        decoder.read(static_cast<std::size_t>(std::min<std::uint64_t>(left, 1 << 16)), dropped);
        if (dropped.empty()) {
            return false;
        }
    }
    return true;
}

// A lost stream's samples read up to where the clock had reached as the output came back. The
// reading runs without the module's lock, the frames reading the position meanwhile.
struct Resumption {
    Stream stream;
    Opener reopen;
    std::uint64_t from;
    std::unique_ptr<SampleSource> decoder;
};

// The stream sounds on the output again from where the clock stands now: no jump back, no
// second start; silent as before when its file ends sooner.
void resumeOnOutput(Track& track, Resumption& resumption, DemoClock::Ticks latency) {
    // It starts where the clock will be as its first sample is heard, the device's latency on.
    const std::uint64_t at =
        clockPosition(track) + bytesAfter(latency, track.byteRate, track.frameBytes);
    SampleSource* const decoder = resumption.decoder.get();
    if (!decoder || !skipSamples(*decoder, at - resumption.from, track.piece)) {
        return;
    }
    decoder->read(bufferBytes(track), track.piece);
    track.output = track.piece.empty()
                       ? nullptr
                       : AudioQueue::create(decoder->rate(), decoder->channels(), queuedBuffers);
    if (!track.output) {
        return;
    }
    track.decoder = decoder->ended() ? nullptr : std::move(resumption.decoder);
    track.resumedAt = track.queuedSampleBytes = at;
    track.tailQueued = 0;
    track.lost = false;
    track.warmingUp = true;
    track.lastHeardChanged = DemoClock::now();
    startOnOutput(track);
}

// The device again: in place where OpenAL can, else closed and opened afresh once no stream
// holds a source on the old one. Only this thread replaces the device, and shutDown, which
// stops it first, so the device is safe to use here without the lock.
bool reopenDevice(Module& m) {
    AudioDevice* device = nullptr;
    {
        const std::lock_guard<std::mutex> hold(m.lock);
        device = m.output.get();
    }
    if (device && device->reopen()) {
        awaitSounding(std::chrono::seconds(1));
        return true;
    }
    {
        const std::lock_guard<std::mutex> hold(m.lock);
        if (std::any_of(m.tracks.begin(), m.tracks.end(),
                        [](const auto& entry) { return entry.second->output != nullptr; })) {
            return false;
        }
        m.output.reset();
    }
    std::unique_ptr<AudioDevice> fresh = AudioDevice::openDefault();
    if (!fresh) {
        return false;
    }
    awaitSounding(std::chrono::seconds(1));
    const std::lock_guard<std::mutex> hold(m.lock);
    m.output = std::move(fresh);
    return true;
}

bool reopenLostOutput(Module& m) {
    std::vector<Resumption> resumptions;
    {
        const std::lock_guard<std::mutex> hold(m.lock);
        for (auto& [stream, track] : m.tracks) {
            if (track->lost) {
                resumptions.push_back({stream, track->reopen, clockPosition(*track), nullptr});
            }
        }
    }
    if (!reopenDevice(m)) {
        return false;
    }
    std::vector<std::uint8_t> dropped;
    for (Resumption& resumption : resumptions) {
        resumption.decoder = resumption.reopen();
        if (resumption.decoder && !skipSamples(*resumption.decoder, resumption.from, dropped)) {
            resumption.decoder.reset();
        }
    }
    const std::lock_guard<std::mutex> hold(m.lock);
    const DemoClock::Ticks latency = m.output->latencyNanoseconds() / 100;
    for (Resumption& resumption : resumptions) {
        Track* const track = findTrack(m, resumption.stream);
        if (track && track->lost) {
            resumeOnOutput(*track, resumption, latency);
        }
    }
    std::fputs("The sound output is back; the music plays on where the production has reached.\n",
               stderr);
    m.feederWake.notify_one();
    return true;
}

} // namespace

void startOpeningOutput() {
    Module& m = module();
    const std::lock_guard<std::mutex> hold(m.lock);
    if (m.outputTried || m.forcedSilent || m.opening.valid()) {
        return;
    }
    AudioDevice::quietLibraryLog();
    try {
        m.opening = std::async(besideLaunch(), AudioDevice::openDefault);
    } catch (const std::system_error&) {
        // initOutput opens it then
    }
}

void initOutput() {
    Module& m = module();
    const std::lock_guard<std::mutex> hold(m.lock);
    if (m.outputTried) {
        return;
    }
    m.outputTried = true;
    if (m.opening.valid()) {
        m.output = m.opening.get();
    } else if (!m.forcedSilent) {
        AudioDevice::quietLibraryLog();
        m.output = AudioDevice::openDefault();
    }
}

namespace {

// Opens a stream on the source `open` gives; `name` is what a line on stderr calls it.
Stream openSource(const Opener& open, const char* name) {
    Module& m = module();
    auto track = std::make_unique<Track>();
    std::unique_ptr<SampleSource> decoder = open();
    if (decoder) {
        track->byteRate = decoder->byteRate();
        track->frameBytes = decoder->frameBytes();
        decoder->read(bufferBytes(*track), track->piece);
    }
    const std::lock_guard<std::mutex> hold(m.lock);
    if (track->piece.empty()) {
        if (!m.forcedSilent || m.missingFileByteRate == 0) {
            reportUnopened(name);
            return 0;
        }
        // The stand-in is silent by request: whoever asked for it tells of the file if it cares.
        track->byteRate = m.missingFileByteRate; // silent and without end
        track->frameBytes = 1;
        return addTrack(m, std::move(track));
    }
    if (m.output && !m.forcedSilent && ensureFeeder(m)) {
        track->output = AudioQueue::create(decoder->rate(), decoder->channels(), queuedBuffers);
    }
    if (track->output) {
        track->reopen = open;
        if (!decoder->ended()) {
            track->decoder = std::move(decoder);
        }
    } else {
        track->knownBytes = track->piece.size();
        measureLength(*track, open, std::move(decoder));
    }
    return addTrack(m, std::move(track));
}

} // namespace

Stream openStream(const char* path) {
    return openSource([file = std::string(path)] { return Mp3Stream::open(file.c_str()); }, path);
}

Stream openBuiltIn() {
    return openSource(BuiltInTrack::open, "the built-in soundtrack");
}

Stream openSilence() {
    Module& m = module();
    const std::lock_guard<std::mutex> hold(m.lock);
    if (!m.forcedSilent || m.missingFileByteRate == 0) {
        return 0;
    }
    auto track = std::make_unique<Track>();
    track->byteRate = m.missingFileByteRate; // silent and without end
    return addTrack(m, std::move(track));
}

void play(Stream stream) {
    Module& m = module();
    const std::lock_guard<std::mutex> hold(m.lock);
    Track* const track = findTrack(m, stream);
    if (!track || track->started) {
        return;
    }
    track->startTicks = DemoClock::now();
    if (track->output) {
        track->lastHeardChanged = track->startTicks;
        startOnOutput(*track);
        m.feederWake.notify_one();
    }
    track->started = true;
}

std::uint64_t position(Stream stream) {
    Module& m = module();
    const std::lock_guard<std::mutex> hold(m.lock);
    Track* const track = findTrack(m, stream);
    if (!track || !track->started) {
        return 0;
    }
    if (track->output && outputLost(m, *track)) {
        continueSilently(*track);
    }
    if (track->output) {
        return track->lastHeard;
    }
    if (track->lost) { // never back, though the clock's bytes round down
        track->lastHeard = std::max(track->lastHeard, silentPosition(*track));
        return track->lastHeard;
    }
    return silentPosition(*track);
}

std::optional<double> driftFromTimePlayed(Stream stream) {
    Module& m = module();
    const std::lock_guard<std::mutex> hold(m.lock);
    Track* const track = findTrack(m, stream);
    if (!track || !track->started || !track->output) {
        return std::nullopt;
    }
    const std::uint64_t heardBytes = heardOnOutput(*track);
    if (!track->decoder && heardBytes == track->queuedSampleBytes) {
        return std::nullopt; // heard to its end: the time played goes on without it
    }
    const double heard = static_cast<double>(heardBytes) / track->byteRate;
    return heard - DemoClock::secondsSince(track->startTicks);
}

void keepFed() {
    Module& m = module();
    const std::lock_guard<std::mutex> hold(m.lock);
    feedOnce(m);
}

void release() {
    module().shutDown();
}

std::optional<std::uint32_t> byteRate(const char* path) {
    const auto decoder = Mp3Stream::open(path);
    if (!decoder) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> firstSamples;
    decoder->read(decoder->frameBytes(), firstSamples);
    if (firstSamples.empty()) {
        return std::nullopt;
    }
    return decoder->byteRate();
}

void forceSilent(std::uint32_t missingFileByteRate) {
    Module& m = module();
    const std::lock_guard<std::mutex> hold(m.lock);
    m.forcedSilent = true;
    m.missingFileByteRate = missingFileByteRate;
}

} // namespace Soundtrack
