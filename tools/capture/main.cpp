// The offline renderer: plays the production on a simulated clock in a 640x480 window and writes
// what each frame shows as PNG pictures with a frames.csv log, as a video, or both.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include <GL/glew.h>

#include <GL/freeglut.h>

#include "app/timeline.h"
#include "app/window.h"
#include "audio/soundtrack.h"
#include "clock/demo_clock.h"
#include "tools/capture/back_buffer.h"
#include "tools/capture/frame_log.h"
#include "tools/capture/options.h"
#include "tools/capture/png_writer.h"
#include "tools/capture/production_length.h"
#include "tools/capture/progress.h"
#include "tools/capture/video_encoder.h"
#include "transitions/outros.h"

namespace {

// Any fixed start makes runs repeat; 100 s keeps every tick difference far from zero.
constexpr DemoClock::Ticks clockBase = 1'000'000'000;
// Without a soundtrack file the beats fall where 44.1 kHz 16-bit stereo would put them.
constexpr std::uint32_t assumedSoundtrackByteRate = 176'400;
// X wants its events read now and then even though nothing here reacts to them.
constexpr std::uint64_t framesBetweenEventReads = 10;
// The soundtrack a video gets, from the working directory like the demo's.
constexpr const char* soundtrackFile = "Ombra.mp3";

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
    openSurface(&argc, argv, {SurfaceKind::Window, {pictureWidth, pictureHeight}});
    glutDisplayFunc(showNothing);
    glutMainLoopEvent();
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

// Where the rendered frames go: PNG files with their log, a video, or both.
struct Outputs {
    std::optional<FrameLog> log;
    std::optional<VideoEncoder> video;
};

// The video comes first: it is the output most likely to refuse to start.
void openOutputs(const CaptureOptions& options, Outputs& outputs) {
    if (options.videoFile) {
        VideoSettings settings;
        settings.path = *options.videoFile;
        settings.width = pictureWidth;
        settings.height = pictureHeight;
        settings.framesPerSecond = options.framesPerSecond;
        // A soundtrack that cannot be decoded leaves the video silent, as the demo plays it.
        if (Soundtrack::byteRate(soundtrackFile)) {
            settings.soundtrack = soundtrackFile;
            settings.soundtrackStart =
                static_cast<double>(options.firstListedFrame) / options.framesPerSecond;
        } else if (std::filesystem::exists(soundtrackFile)) {
            std::cerr << soundtrackFile << " holds no playable MP3: the video has no sound\n";
        }
        outputs.video.emplace(settings);
    }
    if (options.outputFolder) {
        createFolder(*options.outputFolder);
        outputs.log.emplace((std::filesystem::path(*options.outputFolder) / "frames.csv").string());
    }
}

// The frames the render will take, and whether that is only an estimate: up to the last frame
// listed, unless the production is expected to end before it.
std::pair<std::uint64_t, bool> expectedFrames(const CaptureOptions& options) {
    const std::uint64_t production = estimatedProductionFrames(options.framesPerSecond);
    const std::optional<std::uint64_t> lastFrame = options.frames.last();
    if (lastFrame && *lastFrame < production) {
        return {*lastFrame + 1, false};
    }
    return {production, true};
}

// Renders frame after frame until the production ends or the last listed frame is written. The
// PNG files get the listed frames; the video every frame from the first listed on.
void renderFrames(const CaptureOptions& options, Outputs& outputs,
                  std::optional<RenderProgress>& progress) {
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
        const bool toPng = outputs.log && options.frames.contains(frame);
        const bool toVideo = outputs.video && frame >= options.firstListedFrame;
        if (toPng || toVideo) {
            const RgbImage picture = readBackBuffer(pictureWidth, pictureHeight);
            if (toPng) {
                writePng(framePath(*options.outputFolder, frame), picture);
            }
            if (toVideo) {
                outputs.video->addFrame(picture);
            }
        }
        if (outputs.log) {
            outputs.log->add(frame, options.framesPerSecond, info, renderMs);
        }
        if (progress) {
            progress->frameRendered();
        }
        glutSwapBuffers();
    }
}

int capture(const CaptureOptions& options, const char* programName) {
    // Everything that can refuse to start does so before the long render.
    Outputs outputs;
    openOutputs(options, outputs);
    prepareProduction(options);
    openWindow(programName);
    buildScenes();
    std::cout << std::endl;
    std::optional<RenderProgress> progress;
    if (!options.quiet) {
        const auto [frames, estimated] = expectedFrames(options);
        progress.emplace(frames, estimated, stderr);
    }
    renderFrames(options, outputs, progress);
    if (progress) {
        progress->finish();
    }
    if (outputs.log) {
        outputs.log->close();
    }
    if (outputs.video) {
        outputs.video->finish();
    }
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
