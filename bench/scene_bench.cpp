// One frame of each Scene and of the closing curtain as the frame loop draws it, on a simulated
// clock advancing at 60 frames a second from the middle of the Scene, up to the point where the
// software renderer has finished it. For profiling a Scene alone; bench/production.sh measures
// the whole production. Needs an X display (xvfb-run).
#include <benchmark/benchmark.h>

#include <array>

#include <GL/glew.h>

#include "app/picture.h"
#include "app/window.h"
#include "clock/demo_clock.h"
#include "gfx/immediate.h"
#include "random/random.h"
#include "scenes/scene_builders.h"

namespace {

constexpr DemoClock::Ticks base = 1'000'000'000;
constexpr DemoClock::Ticks frameTicks = DemoClock::ticksPerSecond / 60;

std::array<Scene, 6>& scenes() {
    static std::array<Scene, 6> built = [] {
        std::array<Scene, 6> made;
        Random::seed(1);
        for (std::size_t i = 0; i < made.size(); ++i) {
            made[i] = sceneBuilders[i]();
        }
        return made;
    }();
    return built;
}

void beginFrame() {
    usePicture();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gfx::modelview().loadIdentity();
}

// Plays the Scene up to the middle of its play time, then times one frame a round.
void SceneFrame(benchmark::State& state) {
    Scene& scene = scenes()[state.range(0) - 1];
    DemoClock::Ticks now = base;
    DemoClock::setManualTime(now);
    scene.start();
    const auto middle = base + static_cast<DemoClock::Ticks>(scene.duration / 2 * 1e7);
    const auto frame = [&] {
        DemoClock::setManualTime(now += frameTicks);
        beginFrame();
        scene.draw();
        scene.update();
        scene.activateShapes();
        glFinish();
    };
    while (now < middle) {
        frame();
    }
    for (auto _ : state) {
        frame();
    }
}
BENCHMARK(SceneFrame)->DenseRange(1, 6)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The closing curtain halfway down, the field frozen behind it.
void CurtainFrame(benchmark::State& state) {
    Scene& scene = scenes()[5];
    DemoClock::Ticks now = base;
    DemoClock::setManualTime(now);
    scene.start();
    beginFrame();
    scene.draw();
    scene.update();
    scene.outro(scene.width, scene.height); // reads the picture back
    DemoClock::setManualTime(now += DemoClock::ticksPerSecond * 11 / 4);
    for (auto _ : state) {
        beginFrame();
        scene.outro(scene.width, scene.height);
        glFinish();
    }
}
BENCHMARK(CurtainFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    openSurface(&argc, argv, {SurfaceKind::Window, {pictureWidth, pictureHeight}});
    createPicture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
