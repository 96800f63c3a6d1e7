// The offline renderer: plays the production on a simulated clock, draws each frame off screen as
// the demo does, shows it in a frame of the chosen size as a window would, and writes that as PNG
// pictures with a frames.csv log, as a video, or both.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include <GL/glew.h>

#include <GL/freeglut.h>

#include "app/music_choice.h"
#include "app/picture.h"
#include "app/simulated_run.h"
#include "app/soundtrack_search.h"
#include "app/timeline.h"
#include "app/window.h"
#include "audio/built_in_track.h"
#include "audio/soundtrack.h"
#include "tools/capture/display_watch.h"
#include "tools/capture/folder_lock.h"
#include "tools/capture/frame_log.h"
#include "tools/capture/options.h"
#include "tools/capture/output_frame.h"
#include "tools/capture/png_writer.h"
#include "tools/capture/production_length.h"
#include "tools/capture/progress.h"
#include "tools/capture/sound_file.h"
#include "tools/capture/stop_signals.h"
#include "tools/capture/video_encoder.h"

namespace {

// X wants its events read now and then even though nothing here reacts to them.
constexpr std::uint64_t framesBetweenEventReads = 10;

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

// The music, chosen as the demo chooses it.
MusicChoice chooseRendererMusic(const CaptureOptions& options) {
    return chooseMusic(options.silent, findInstalledSoundtrack(std::nullopt));
}

// Frames are driven by the loop below, never by GLUT's display callback.
void showNothing() {}

// The display is checked first, so that its absence is explained rather than reported by GLUT.
void openWindow(const char* programName) {
    const DisplayHold display(programName);
    // The window gets the program name alone: every argument was ours.
    int argc = 1;
    char* argv[] = {const_cast<char*>(programName), nullptr};
    openSurface(&argc, argv, {SurfaceKind::Window, {pictureWidth, pictureHeight}});
    glutDisplayFunc(showNothing);
    glutMainLoopEvent();
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

// Where the rendered frames go: PNG files with their log, a video, or both.
struct Outputs {
    std::optional<SoundFile> sound; // goes after the video that reads it
    std::optional<VideoEncoder> video;
    std::optional<FolderLock> lock;
    std::optional<FrameLog> log;
};

// The video's sound: the soundtrack file where it decodes, or the built-in soundtrack's samples
// themselves, which ffmpeg then encodes without another lossy step before. The renderer's one
// word on the soundtrack is here, and only for a video, which is the one output that carries
// sound.
std::optional<std::string> videoSoundtrack(const MusicChoice& music, Outputs& outputs) {
    switch (music.kind) {
    case MusicChoice::Kind::File:
        if (Soundtrack::byteRate(music.file.c_str())) {
            return music.file;
        }
        std::cerr << "ombra-capture: " << music.file << " holds no playable MP3"
                  << ": the video has no sound\n";
        break;
    case MusicChoice::Kind::BuiltIn: {
        BuiltInTrack track;
        outputs.sound.emplace(track);
        std::cerr << "ombra-capture: " << music.notFound
                  << ": the video carries OMBRA's own soundtrack\n";
        return outputs.sound->path();
    }
    case MusicChoice::Kind::Silent:
        break;
    }
    return std::nullopt;
}

// The video comes first: it is the output most likely to refuse to start.
void openOutputs(const CaptureOptions& options, const MusicChoice& music, Outputs& outputs) {
    const FrameList::Frame firstFrame = options.frames.first().value_or(0);
    if (options.videoFile) {
        VideoSettings settings;
        settings.path = *options.videoFile;
        settings.width = options.size.width;
        settings.height = options.size.height;
        settings.framesPerSecond = options.framesPerSecond;
        settings.preset = options.preset;
        settings.soundtrack = videoSoundtrack(music, outputs);
        settings.soundtrackStart = static_cast<double>(firstFrame) / options.framesPerSecond;
        outputs.video.emplace(settings);
    }
    if (options.outputFolder) {
        createFolder(*options.outputFolder);
        outputs.lock.emplace(*options.outputFolder);
        outputs.log.emplace((std::filesystem::path(*options.outputFolder) / "frames.csv").string());
    }
}

std::string stopMessage(int signal, const CaptureOptions& options) {
    return std::string("stopped by ") + stopName(signal) +
           (options.videoFile ? "; no video written" : "");
}

// What a render under way has made, for the loss of the X display below.
struct RenderUnderWay {
    const CaptureOptions* options = nullptr;
    Outputs* outputs = nullptr;
    std::optional<RenderProgress>* progress = nullptr;
} renderUnderWay;

// Xlib ends the program when the X server goes, as the virtual one that xvfb-run started does on
// a terminal's Ctrl-C: a render's outputs are abandoned first (ffmpeg stopped, the partial video
// removed, frames.csv closed on whole rows), and a stop request keeps its exit status. Nothing
// else can use the display any more, so the process ends at once.
[[noreturn]] void onDisplayLost() {
    const int stop = requestedStop();
    if (renderUnderWay.outputs) {
        renderUnderWay.progress->reset();
        renderUnderWay.outputs->video.reset();
        renderUnderWay.outputs->sound.reset();
        renderUnderWay.outputs->log.reset();
    }
    if (renderUnderWay.outputs && stop != 0) {
        std::cerr << "ombra-capture: " << stopMessage(stop, *renderUnderWay.options) << "\n";
    } else if (stop == 0) {
        std::cerr << "ombra-capture: lost the connection to the X display\n";
    }
    std::_Exit(stop != 0 ? 128 + stop : 1);
}

// Hands a render's state to onDisplayLost while the render lives.
struct WatchOverRender {
    explicit WatchOverRender(const RenderUnderWay& render) {
        renderUnderWay = render;
        whenDisplayLost(onDisplayLost);
    }
    ~WatchOverRender() { renderUnderWay = {}; }
    WatchOverRender(const WatchOverRender&) = delete;
    WatchOverRender& operator=(const WatchOverRender&) = delete;
};

// The frames the render takes: up to the last frame listed, else the whole production.
std::vector<ProductionPhase> renderedPhases(const CaptureOptions& options) {
    std::vector<ProductionPhase> phases = productionPhases(options.framesPerSecond);
    if (const std::optional<FrameList::Frame> last = options.frames.last()) {
        for (ProductionPhase& phase : phases) {
            const std::uint64_t end = std::min(phase.firstFrame + phase.frames, *last + 1);
            phase.frames = end > phase.firstFrame ? end - phase.firstFrame : 0;
        }
    }
    return phases;
}

// Renders frame after frame until the production ends or the last listed frame is written. The
// PNG files get the listed frames; the video every frame from the first listed on.
void renderFrames(const CaptureOptions& options, Outputs& outputs,
                  std::optional<RenderProgress>& progress) {
    const OutputFrame output(options.size, options.smooth);
    const std::uint64_t productionEnd = productionFrames(options.framesPerSecond);
    const std::uint64_t end = options.frames.last() ? *options.frames.last() + 1 : productionEnd;
    const FrameList::Frame firstFrame = options.frames.first().value_or(0);
    for (std::uint64_t frame = 0; frame < end; ++frame) {
        throwIfStopRequested();
        if (frame % framesBetweenEventReads == 0) {
            glutMainLoopEvent();
        }
        const auto renderStart = std::chrono::steady_clock::now();
        FrameInfo info;
        if (!runSimulatedFrame(frame, options.framesPerSecond, &info)) {
            throw std::runtime_error("the production ended at frame " + std::to_string(frame) +
                                     ", before the frame its schedule shows last (" +
                                     std::to_string(productionEnd - 1) + ")");
        }
        glFinish(); // the software rasteriser draws only when made to
        const double renderSeconds = secondsSince(renderStart);
        const bool toPng = outputs.log && options.frames.contains(frame);
        const bool toVideo = outputs.video && frame >= firstFrame;
        if (toPng || toVideo) {
            RgbImage picture = output.read();
            if (toPng) {
                writePng(framePath(*options.outputFolder, frame), picture);
            }
            if (toVideo) {
                outputs.video->addFrame(std::move(picture));
            }
        }
        if (outputs.log) {
            outputs.log->add(frame, options.framesPerSecond, info, renderSeconds * 1000);
        }
        if (progress) {
            progress->frameRendered(info);
        }
    }
    // Past the last frame the production ends by itself, as its schedule says it does.
    if (end == productionEnd) {
        if (runSimulatedFrame(end, options.framesPerSecond)) {
            throw std::runtime_error("the production went on past frame " +
                                     std::to_string(end - 1) + ", the last one its schedule shows");
        }
    }
}

int capture(const CaptureOptions& options, const char* programName) {
    // Everything that can refuse to start does so before the long render, and before it creates
    // anything.
    openWindow(programName);
    const MusicChoice music = chooseRendererMusic(options);
    Outputs outputs;
    openOutputs(options, music, outputs);
    // The renderer's one word on the music is for a video alone (above), not the first frame's.
    prepareSimulatedRun(options.framesPerSecond, options.outroSeed, music);
    createPicture();
    buildScenes();
    std::cout << std::endl;
    std::optional<RenderProgress> progress;
    if (!options.quiet) {
        const bool everyFrameWritten = options.videoFile || !options.frames.last();
        progress.emplace(renderedPhases(options),
                         everyFrameWritten ? FrameUse::Written : FrameUse::Drawn, stderr);
    }
    const WatchOverRender watch({&options, &outputs, &progress});
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
    catchStopSignals();
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
    if (options.version) {
        std::cout << "ombra-capture " OMBRA_VERSION "\n";
        return 0;
    }
    try {
        return capture(options, argv[0]);
    } catch (const StopRequested& stop) {
        std::cerr << "ombra-capture: " << stopMessage(stop.signal, options) << "\n";
        return 128 + stop.signal;
    } catch (const std::exception& error) {
        std::cerr << "ombra-capture: " << error.what() << "\n";
        return 1;
    }
}
