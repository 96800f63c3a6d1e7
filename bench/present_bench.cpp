// The present step's cost per frame: the 640x480 picture scaled into frames of common sizes and
// onto a 1920x1080 window, nearest and linear, up to the point the software renderer has
// finished; the renderer reading the picture back; and making the picture at start-up. Needs an X
// display of at least 1920x1080: xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/present_bench
#include <benchmark/benchmark.h>

#include "app/picture.h"
#include "app/window.h"
#include "tools/capture/output_frame.h"

namespace {

GLuint makeFrame(Size size) {
    GLuint colour = 0, framebuffer = 0;
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.width, size.height);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    return framebuffer;
}

void PresentPicture(benchmark::State& state) {
    const Size size{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
    const bool smooth = state.range(2) != 0;
    const GLuint frame = makeFrame(size);
    for (auto _ : state) {
        presentPicture(frame, size, smooth);
        glFinish();
    }
}
BENCHMARK(PresentPicture)
    ->ArgNames({"width", "height", "smooth"})
    ->Args({640, 480, 0})
    ->Args({1280, 960, 0})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Args({3840, 2160, 0})
    ->Unit(benchmark::kMillisecond);

constexpr Size windowSize{1920, 1080};

void PresentOnWindow(benchmark::State& state) {
    for (auto _ : state) {
        presentPicture(0, windowSize, state.range(0) != 0);
        glFinish();
    }
}
BENCHMARK(PresentOnWindow)->ArgName("smooth")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The renderer's read-back of the picture, the rows turned top first, before any scaling.
void ReadPictureBack(benchmark::State& state) {
    const OutputFrame output(pictureSize, false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(output.read());
    }
}
BENCHMARK(ReadPictureBack)->Unit(benchmark::kMillisecond);

void CreatePicture(benchmark::State& state) {
    for (auto _ : state) {
        createPicture();
        glFinish();
    }
}
BENCHMARK(CreatePicture)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    openSurface(&argc, argv, {SurfaceKind::Window, windowSize});
    createPicture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
