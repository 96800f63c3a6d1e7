// The offline renderer: plays the production on a simulated clock in a 640x480 window and writes
// what each frame shows as PNG pictures and a frames.csv log.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include <GL/glew.h>

#include <GL/freeglut.h>

#include "app/demo_clock.h"
#include "app/soundtrack.h"
#include "app/timeline.h"
#include "app/window.h"
#include "tools/capture/back_buffer.h"
#include "tools/capture/frame_log.h"
#include "tools/capture/options.h"
#include "tools/capture/png_writer.h"
#include "transitions/outros.h"

namespace {

// Any fixed start makes runs repeat; 100 s keeps every tick difference far from zero.
constexpr DemoClock::Ticks clockBase = 1'000'000'000;
// Without a soundtrack file the beats fall where 44.1 kHz 16-bit stereo would put them.
constexpr std::uint32_t assumedSoundtrackByteRate = 176'400;
// X wants its events read now and then even though nothing here reacts to them.
constexpr std::uint64_t framesBetweenEventReads = 10;

// round(frame * 10^7 / fps) ticks after the base, halves rounding up.
DemoClock::Ticks frameTicks(std::uint64_t frame, int framesPerSecond) {
    const std::uint64_t fps = static_cast<std::uint64_t>(framesPerSecond);
    return clockBase + (2 * frame * DemoClock::ticksPerSecond + fps) / (2 * fps);
}

std::string framePath(const std::string& folder, std::uint64_t frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06llu.png", static_cast<unsigned long long>(frame));
    return (std::filesystem::path(folder) / name).string();
}

void createFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw std::runtime_error("cannot create " + folder + ": " + error.message());
    }
    if (!std::filesystem::is_directory(folder)) {
        throw std::runtime_error("cannot write into " + folder + ": not a folder");
    }
}

// The simulated clock, the outros' seed and a silent soundtrack, all before the Scenes are built.
void prepareProduction(const CaptureOptions& options) {
    DemoClock::setManualTime(frameTicks(0, options.framesPerSecond));
    setOutroSeed(options.outroSeed);
    Soundtrack::forceSilent(assumedSoundtrackByteRate);
}

// Frames are driven by the loop below, never by GLUT's display callback.
void showNothing() {}

void openWindow(const char* programName) {
    // The window gets the program name alone: every argument was ours.
    int argc = 1;
    char* argv[] = {const_cast<char*>(programName), nullptr};
    openSurface(&argc, argv, /*tryGameMode=*/false);
    glutDisplayFunc(showNothing);
    glutMainLoopEvent();
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

// Renders frame after frame until the production ends or the last listed frame is written.
void renderFrames(const CaptureOptions& options, FrameLog& log) {
    const std::optional<std::uint64_t> lastFrame = options.frames.last();
    for (std::uint64_t frame = 0; !lastFrame || frame <= *lastFrame; ++frame) {
        if (frame % framesBetweenEventReads == 0) {
            glutMainLoopEvent();
        }
        DemoClock::setManualTime(frameTicks(frame, options.framesPerSecond));
        const auto renderStart = std::chrono::steady_clock::now();
        FrameInfo info;
        if (!runFrame(&info)) {
            if (lastFrame) {
                std::cerr << "ombra-capture: the production ended at frame " << frame
                          << ", before frame " << *lastFrame << "\n";
            }
            return;
        }
        glFinish(); // the software rasteriser draws only when made to
        const double renderMs = millisecondsSince(renderStart);
        if (options.frames.contains(frame)) {
            writePng(framePath(*options.outputFolder, frame),
                     readBackBuffer(pictureWidth, pictureHeight));
        }
        log.add(frame, options.framesPerSecond, info, renderMs);
        glutSwapBuffers();
    }
}

int capture(const CaptureOptions& options, const char* programName) {
    createFolder(*options.outputFolder);
    FrameLog log((std::filesystem::path(*options.outputFolder) / "frames.csv").string());
    prepareProduction(options);
    openWindow(programName);
    buildScenes();
    std::cout << std::endl;
    renderFrames(options, log);
    log.close();
    Soundtrack::release();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    try {
        options = parseOptions(argc - 1, argv + 1);
    } catch (const UsageError& error) {
        std::cerr << "ombra-capture: " << error.what() << "\n"
                  << "Try 'ombra-capture --help' for more information.\n";
        return 2;
    }
    if (options.help) {
        std::cout << usageText;
        return 0;
    }
    try {
        return capture(options, argv[0]);
    } catch (const std::exception& error) {
        std::cerr << "ombra-capture: " << error.what() << "\n";
        return 1;
    }
}
