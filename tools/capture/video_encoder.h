// Encoding rendered frames as a video: an ffmpeg child process fed raw YUV 4:2:0 frames through a
// pipe to its standard input, writing H.264 with the soundtrack as AAC in MP4, Matroska or
// QuickTime.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "tools/capture/encoder_process.h"
#include "tools/capture/frame_feeder.h"
#include "tools/capture/png_writer.h"

struct VideoSettings {
    std::string path; // the video file; an older file of that name is replaced on success
    int width = 0;
    int height = 0;
    int framesPerSecond = 0;
    std::optional<std::string> soundtrack; // an audio file to mux as AAC, or none
    double soundtrackStart = 0.0;          // seconds into the soundtrack of the first frame
    std::string preset = "veryfast";       // x264's trade of speed against file size
};

// The ffmpeg container for a video file, from its name's extension: "mp4" for .mp4, "matroska"
// for .mkv, "mov" for .mov, whatever the letters' case; empty for any other name.
std::optional<std::string> videoContainer(const std::string& path);

class VideoEncoder {
  public:
    // Starts ffmpeg. Throws std::runtime_error when the file cannot be created or ffmpeg cannot
    // be started, so that nothing is rendered for a video that cannot be written.
    explicit VideoEncoder(const VideoSettings& settings);
    // Abandons a video that finish() did not complete: ffmpeg is killed and reaped and the
    // partial file removed.
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Hands one frame of the settings' size, RGB, top row first, to ffmpeg; it is written while
    // the next frames are rendered, a few frames at most waiting. Throws std::runtime_error,
    // quoting ffmpeg's messages, when ffmpeg has stopped taking frames, and StopRequested when a
    // stop signal arrives while it waits for ffmpeg.
    void addFrame(RgbImage frame);

    // Ends the stream and waits for ffmpeg to write the file. Throws std::runtime_error, quoting
    // ffmpeg's messages, when no frame was sent or ffmpeg did not succeed, and StopRequested when
    // a stop signal arrives meanwhile; the video is in place only when this returns.
    void finish();

  private:
    struct LogCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void start();
    [[noreturn]] void fail(const std::string& what);
    void abandon();

    VideoSettings settings;
    std::string partialPath; // ffmpeg writes here; renamed to settings.path once it succeeds
    ClaimedFile partialFile; // held while the render lives
    std::unique_ptr<std::FILE, LogCloser> log; // ffmpeg's standard error, kept for failures
    std::optional<EncoderProcess> process;     // ffmpeg, until it is reaped
    std::optional<FrameFeeder> feeder;         // writes the frames into its pipe
    std::uint64_t framesSent = 0;
};
