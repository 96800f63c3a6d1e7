// Encoding rendered frames as a video: an ffmpeg child process fed raw RGB frames through a pipe
// to its standard input, writing H.264 in MP4 with the soundtrack as AAC.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include <sys/types.h>

#include "tools/capture/png_writer.h"

struct VideoSettings {
    std::string path; // the video file; an older file of that name is replaced on success
    int width = 0;
    int height = 0;
    int framesPerSecond = 0;
    std::optional<std::string> soundtrack; // an audio file to mux as AAC, or none
    double soundtrackStart = 0.0;          // seconds into the soundtrack of the first frame
};

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

    // Sends one frame of the settings' size, RGB, top row first. Throws std::runtime_error,
    // quoting ffmpeg's messages, when ffmpeg has stopped taking frames.
    void addFrame(const RgbImage& frame);

    // Ends the stream and waits for ffmpeg to write the file. Throws std::runtime_error, quoting
    // ffmpeg's messages, when no frame was sent or ffmpeg did not succeed; the video is in place
    // only when this returns.
    void finish();

  private:
    struct LogCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void start();
    [[noreturn]] void fail(const std::string& what);
    int waitForExit();
    void abandon();

    VideoSettings settings;
    std::string partialPath; // ffmpeg writes here; renamed to settings.path once it succeeds
    std::unique_ptr<std::FILE, LogCloser> log; // ffmpeg's standard error, kept for failures
    int pipeInput = -1;                        // the write end of ffmpeg's standard input
    pid_t child = -1;                          // -1 once reaped
    std::uint64_t framesSent = 0;
};
