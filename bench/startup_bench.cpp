// Start-up cost: the six SceneBuilders together (shader compilation included), each on its own,
// and the fault-line backdrop alone at each lane width. Needs an X display (xvfb-run).
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <vector>

#include "app/window.h"
#include "random/random.h"
#include "scenes/backdrop.h"
#include "scenes/scene_builders.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double>(end - start).count();
}

// From the first builder's call to the last one's return, as the entry runs them. The built
// Scenes are destroyed outside the timed span; each round starts from the default sequence.
void SixBuilders(benchmark::State& state) {
    for (auto _ : state) {
        Random::seed(1);
        std::array<Scene, std::size(sceneBuilders)> scenes;
        const Clock::time_point start = Clock::now();
        for (std::size_t i = 0; i < std::size(sceneBuilders); ++i) {
            scenes[i] = sceneBuilders[i]();
        }
        state.SetIterationTime(secondsBetween(start, Clock::now()));
        benchmark::DoNotOptimize(scenes);
    }
}
BENCHMARK(SixBuilders)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void OneBuilder(benchmark::State& state) {
    const SceneBuilder builder = sceneBuilders[state.range(0) - 1];
    for (auto _ : state) {
        Random::seed(1);
        Scene scene;
        const Clock::time_point start = Clock::now();
        scene = builder();
        state.SetIterationTime(secondsBetween(start, Clock::now()));
        benchmark::DoNotOptimize(scene);
    }
}
BENCHMARK(OneBuilder)
    ->DenseRange(1, 6)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// The backdrop as Scene 4 makes it: 5000 random numbers, then the picture.
void BackdropTexture(benchmark::State& state) {
    for (auto _ : state) {
        Random::seed(1);
        generateBackdropTexture();
        benchmark::DoNotOptimize(backdropPixels().data());
    }
}
BENCHMARK(BackdropTexture)->Unit(benchmark::kMillisecond);

void BackdropAtLaneWidth(benchmark::State& state) {
    const auto lanes = static_cast<BackdropLanes>(state.range(0));
    if (!backdropLanesSupported(lanes)) {
        state.SkipWithError("lane width not supported on this processor");
        return;
    }
    Random::seed(1);
    const std::vector<Vec2> a = randomPointSet();
    const std::vector<Vec2> b = randomPointSet();
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderBackdropImage(a, b, lanes).data());
    }
}
BENCHMARK(BackdropAtLaneWidth)
    ->ArgName("lanes")
    ->Arg(static_cast<int>(BackdropLanes::Sse2))
    ->Arg(static_cast<int>(BackdropLanes::Avx2))
    ->Arg(static_cast<int>(BackdropLanes::Avx512))
    ->Unit(benchmark::kMillisecond);

// The exact one-pair-at-a-time formulation, for comparison.
void BackdropReference(benchmark::State& state) {
    Random::seed(1);
    const std::vector<Vec2> a = randomPointSet();
    const std::vector<Vec2> b = randomPointSet();
    for (auto _ : state) {
        benchmark::DoNotOptimize(generateBackdropReference(a, b).data());
    }
}
BENCHMARK(BackdropReference)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    openSurface(&argc, argv, {SurfaceKind::Window, {pictureWidth, pictureHeight}});
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
