// The built-in soundtrack's cost: laying out its notes (on the first frame) and synthesising the
// whole track in the 50 ms pieces the feeder thread asks for, against the track's own length.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "music/oscillators.h"
#include "music/synthesiser.h"

namespace {

constexpr std::size_t pieceFrames = Music::sampleRate / 20;

void LayOutScore(benchmark::State& state) {
    for (auto _ : state) {
        Music::Synthesiser synthesiser;
        benchmark::DoNotOptimize(synthesiser);
    }
}
BENCHMARK(LayOutScore)->Unit(benchmark::kMicrosecond);

// The counter is the wall time taken as a share of the time the track plays: at most 0.03 wanted.
void WholeTrack(benchmark::State& state) {
    const Music::Synthesiser synthesiser;
    std::vector<std::int16_t> piece(2 * pieceFrames);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (std::uint32_t frame = 0; frame < synthesiser.frames(); frame += pieceFrames) {
            synthesiser.render(frame, pieceFrames, piece.data());
            benchmark::DoNotOptimize(piece.data());
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double trackSeconds = static_cast<double>(synthesiser.frames()) / Music::sampleRate;
    state.counters["share_of_length"] =
        seconds / (static_cast<double>(state.iterations()) * trackSeconds);
}
BENCHMARK(WholeTrack)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
