// The renderer's work on each frame of a video beside drawing it: the picture scaled into the
// frame on the processor, and the frame converted to YUV 4:2:0 for ffmpeg.
#include <random>

#include <benchmark/benchmark.h>

#include "tools/capture/scale_picture.h"
#include "tools/capture/yuv_frame.h"

namespace {

RgbImage noise(int width, int height) {
    RgbImage image{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3)};
    std::mt19937 random(1);
    for (std::uint8_t& byte : image.pixels) {
        byte = static_cast<std::uint8_t>(random());
    }
    return image;
}

void ScalePicture(benchmark::State& state) {
    const RgbImage picture = noise(640, 480);
    const Size size{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
    for (auto _ : state) {
        benchmark::DoNotOptimize(scalePicture(picture, size, state.range(2) != 0));
    }
}
BENCHMARK(ScalePicture)
    ->ArgNames({"width", "height", "smooth"})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Unit(benchmark::kMillisecond);

void ConvertToYuv(benchmark::State& state) {
    const RgbImage frame =
        noise(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(toYuv420(frame));
    }
}
BENCHMARK(ConvertToYuv)
    ->ArgNames({"width", "height"})
    ->Args({640, 480})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
