// The soundtrack module: streams an MP3 file to the audio output and reports the position heard.
#pragma once

#include <cstdint>
#include <optional>

namespace Soundtrack {

// A stream handle; 0 names no stream.
using Stream = std::uint32_t;

// Starts opening the default audio output on a thread of its own (where threads run beside the
// caller; elsewhere initOutput opens it), so that initOutput finds it open; opening takes tens of
// milliseconds where the machine has to look for its sound devices. While it opens, what the sound
// back ends print to stderr is dropped, and so is anything else written there meanwhile: call it
// once the surface is open.
void startOpeningOutput();

// Opens the default audio output, or takes the one startOpeningOutput opened. Without a usable
// device the module plays silently: a stream's position then follows the DemoClock from the moment
// it was started, at the stream's byte rate.
void initOutput();

// Opens an MP3 file as a stream. Decodes only its first frames; the rest is decoded while it
// plays. A file that cannot be opened or holds no decodable MP3 frame gives one line on stderr
// and 0.
Stream openStream(const char* path);

// Opens the built-in soundtrack as a stream: 44.1 kHz 16-bit stereo, synthesised on the feeder
// thread a piece ahead of playback (a silent one follows the clock up to its length).
Stream openBuiltIn();

// A stream without music: after forceSilent with a byte rate, silent and without end at that
// rate, as a missing file would give; otherwise 0, as no stream.
Stream openSilence();

// Starts playing a stream; does nothing for 0.
void play(Stream stream);

// The playback position heard, in bytes of decoded 16-bit samples at the file's own rate and
// channel count; 0 for stream 0. After the stream's end it stays at the stream's length.
std::uint64_t position(Stream stream);

// How far the position heard is ahead of the time since the stream began to play, in seconds
// (negative when behind); empty for a stream that is not sounding on an output or has been heard
// to its end.
std::optional<double> driftFromTimePlayed(Stream stream);

// Feeds the streams playing on the output once: takes back the buffers they finished and queues
// what comes next. Where no thread runs beside the frames (the browser), the frame loop calls it
// every frame; elsewhere the module's feeder thread does this every 10 ms by itself.
void keepFed();

// Stops playback and releases the output. Harmless when called twice or before anything opened.
// Afterwards the module is as it was at start: streams are gone and forced silence is lifted.
void release();

// Bytes per second of a file's decoded 16-bit samples (176,400 for 44.1 kHz stereo), found
// without playing it; empty when the file cannot be decoded.
std::optional<std::uint32_t> byteRate(const char* path);

// Makes the module play silently even where an output device exists (the offline renderer).
// When `missingFileByteRate` is non-zero, a file that cannot be opened still gives a silent
// stream without end at that byte rate, so that the beats fall where the music would put them,
// and no line on stderr: the caller knows the file may be missing and speaks for it.
void forceSilent(std::uint32_t missingFileByteRate = 0);

} // namespace Soundtrack
