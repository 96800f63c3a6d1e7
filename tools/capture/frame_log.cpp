// Writing frames.csv.
#include "tools/capture/frame_log.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

std::runtime_error cannotWrite(const std::string& path) {
    return std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
}

} // namespace

FrameLog::FrameLog(const std::string& logPath)
    : path(logPath), file(std::fopen(path.c_str(), "wb")) {
    // Each row reaches the file in one write as soon as it is made: a render cut short, even by
    // SIGKILL, leaves whole rows, and a reader sees the render's progress. A full buffer flushed
    // after every row, since not every C runtime buffers by line. Binary: rows end in "\n" alone.
    if (!file || std::setvbuf(file.get(), nullptr, _IOFBF, BUFSIZ) != 0 ||
        std::fputs("frame,time,scene,phase,scene_time,render_ms\n", file.get()) < 0 ||
        std::fflush(file.get()) != 0) {
        throw cannotWrite(path);
    }
}

void FrameLog::add(std::uint64_t frame, int framesPerSecond, const FrameInfo& info,
                   double renderMs) {
    const double time = static_cast<double>(frame) / framesPerSecond;
    std::fprintf(file.get(), "%llu,%.6f,%d,%s,%.6f,%.3f\n", static_cast<unsigned long long>(frame),
                 time, info.scene, info.outro ? "outro" : "play",
                 static_cast<double>(info.sceneTime), renderMs);
    std::fflush(file.get());
}

void FrameLog::close() {
    const bool failed = std::ferror(file.get()) != 0;
    if (std::fclose(file.release()) != 0 || failed) {
        throw cannotWrite(path);
    }
}
