// The ffmpeg child process behind a video: fed through a pipe and judged by its exit status; the
// video is written under a name of its own and renamed into place once ffmpeg succeeds.
#include "tools/capture/video_encoder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "tools/capture/stop_signals.h"

namespace {

// Visually lossless H.264 in the pixel format every common player decodes.
constexpr const char* videoQuality = "18";
constexpr const char* audioBitRate = "192k";
// A whole frame in the pipe lets ffmpeg and the renderer overlap; Linux allows 1 MiB by default.
constexpr int pipeBytes = 1 << 20;
// Frames waiting for ffmpeg beside the one being written: enough to ride out a slow frame on
// either side, few enough to keep the memory small at 1080p.
constexpr std::size_t framesWaiting = 3;
// The lines of ffmpeg's messages quoted when it fails.
constexpr std::size_t quotedLogLines = 8;

std::runtime_error cannotWrite(const std::string& path, int error) {
    return std::runtime_error("cannot write " + path + ": " + std::strerror(error));
}

std::string formatSeconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", seconds);
    return text;
}

// ffmpeg reads "name:rest" as a protocol and "-name" as an option; "file:" takes any name as is.
std::string fileUrl(const std::string& path) {
    return "file:" + path;
}

std::vector<std::string> ffmpegArguments(const VideoSettings& settings, const std::string& output,
                                         const std::string& container) {
    std::vector<std::string> args{"ffmpeg",    "-hide_banner", "-nostdin", "-nostats",
                                  "-loglevel", "error",        "-y"};
    const std::string size = std::to_string(settings.width) + "x" + std::to_string(settings.height);
    args.insert(args.end(),
                {"-f", "rawvideo", "-pixel_format", "yuv420p", "-video_size", size, "-framerate",
                 std::to_string(settings.framesPerSecond), "-i", "pipe:0"});
    if (settings.soundtrack) {
        args.insert(args.end(), {"-i", fileUrl(*settings.soundtrack)});
    }
    // The frames arrive as BT.601 YUV, and the stream says so with the whole standard-definition
    // set (matrix, primaries and transfer: SMPTE 170M), so that players guess none of them, nor
    // take a high-definition frame for BT.709.
    args.insert(args.end(),
                {"-map", "0:v", "-c:v", "libx264", "-preset", settings.preset, "-crf", videoQuality,
                 "-pix_fmt", "yuv420p", "-colorspace", "smpte170m", "-color_primaries", "smpte170m",
                 "-color_trc", "smpte170m", "-color_range", "tv"});
    if (settings.soundtrack) {
        // The sound is decoded from the file's start and trimmed to the first frame's time (an
        // input seek would leave the decoder's first frames silent); silence pads a soundtrack
        // that ends early, and the video's end cuts it.
        const std::string trim =
            "atrim=start=" + formatSeconds(settings.soundtrackStart) + ",asetpts=PTS-STARTPTS,apad";
        args.insert(args.end(),
                    {"-map", "1:a", "-c:a", "aac", "-b:a", audioBitRate, "-af", trim, "-shortest"});
    }
    if (container != "matroska") {
        // The index goes first, so that players start before the whole file has arrived.
        args.insert(args.end(), {"-movflags", "+faststart"});
    }
    args.insert(args.end(), {"-f", container, fileUrl(output)});
    return args;
}

// The last lines ffmpeg wrote to its log, which holds only its errors.
std::string logTail(std::FILE* log) {
    std::rewind(log);
    std::vector<std::string> lines;
    std::string line;
    for (int c = std::fgetc(log); c != EOF; c = std::fgetc(log)) {
        if (c != '\n' && c != '\r') {
            line += static_cast<char>(c);
        } else if (!line.empty()) {
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    std::string tail;
    const std::size_t first = lines.size() > quotedLogLines ? lines.size() - quotedLogLines : 0;
    for (std::size_t i = first; i < lines.size(); ++i) {
        tail += "\n  ffmpeg: " + lines[i];
    }
    return tail;
}

std::string describeExit(ProcessEnd end) {
    return end.exited ? "exit status " + std::to_string(end.code)
                      : "ended by signal " + std::to_string(end.code);
}

} // namespace

std::optional<std::string> videoContainer(const std::string& path) {
    const std::string::size_type dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) {
        return std::nullopt;
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "mp4") {
        return "mp4";
    }
    if (extension == "mkv") {
        return "matroska";
    }
    if (extension == "mov") {
        return "mov";
    }
    return std::nullopt;
}

VideoEncoder::VideoEncoder(const VideoSettings& videoSettings)
    : settings(videoSettings),
      partialPath(settings.path + "." + std::to_string(processId()) + ".part") {
    if (std::filesystem::is_directory(settings.path)) {
        throw std::runtime_error("cannot write " + settings.path + ": it is a folder");
    }
    if (!videoContainer(settings.path)) {
        throw std::runtime_error("cannot write " + settings.path + ": name it .mp4, .mkv or .mov");
    }
    // The file ffmpeg will overwrite, made now so that a folder that is missing or cannot be
    // written shows up before anything is rendered.
    if (const int error = partialFile.claim(partialPath)) {
        throw cannotWrite(settings.path, error);
    }
    try {
        start();
    } catch (...) {
        abandon();
        throw;
    }
}

void VideoEncoder::start() {
    log.reset(makeProcessLog());
    if (!log) {
        throw std::runtime_error(std::string("cannot make a log for ffmpeg: ") +
                                 std::strerror(errno));
    }
    process.emplace(ffmpegArguments(settings, partialPath, *videoContainer(settings.path)),
                    log.get(), pipeBytes);
    feeder.emplace(process->input(), framesWaiting);
}

namespace {

std::string feedFailure(int error) {
    return error == EPIPE ? "ffmpeg stopped taking frames"
                          : std::string("cannot send frames to ffmpeg: ") + std::strerror(error);
}

} // namespace

VideoEncoder::~VideoEncoder() {
    abandon();
}

void VideoEncoder::addFrame(RgbImage frame) {
    if (frame.width != settings.width || frame.height != settings.height ||
        frame.pixels.size() != static_cast<std::size_t>(frame.width) * frame.height * 3) {
        throw std::runtime_error("a frame for " + settings.path + " has the wrong size");
    }
    try {
        feeder->push(std::move(frame));
    } catch (const FeedFailed& failed) {
        fail(feedFailure(failed.error));
    }
    ++framesSent;
}

void VideoEncoder::finish() {
    if (framesSent == 0) {
        abandon();
        throw std::runtime_error("cannot write " + settings.path +
                                 ": no frame was rendered for it");
    }
    try {
        feeder->drain();
    } catch (const FeedFailed& failed) {
        fail(feedFailure(failed.error));
    }
    feeder.reset();
    process->closeInput();
    const ProcessEnd end = process->wait(/*stoppable=*/true);
    if (!end.exited || end.code != 0) {
        abandon();
        throw std::runtime_error("ffmpeg failed to write " + settings.path + " (" +
                                 describeExit(end) + ")" + logTail(log.get()));
    }
    if (std::rename(partialPath.c_str(), settings.path.c_str()) != 0) {
        const int error = errno;
        abandon();
        throw cannotWrite(settings.path, error);
    }
    partialPath.clear();
}

void VideoEncoder::fail(const std::string& what) {
    feeder.reset(); // its thread has ended on the failed write
    process->closeInput();
    const ProcessEnd end = process->wait();
    abandon();
    throw std::runtime_error("cannot write " + settings.path + ": " + what + " (ffmpeg " +
                             describeExit(end) + ")" + logTail(log.get()));
}

void VideoEncoder::abandon() {
    // ffmpeg goes first, so that a write under way fails at once and the feeder can end.
    if (process) {
        process->kill();
    }
    feeder.reset();
    process.reset();
    if (!partialPath.empty()) {
        std::remove(partialPath.c_str());
        partialPath.clear();
    }
}
