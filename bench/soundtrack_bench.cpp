// Soundtrack costs: what opening and starting a stream holds up the first frame for, on OpenAL's
// null output and silently, for a short and a long file and for the built-in soundtrack; and the
// position query that every drawn Shape makes twice a frame.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "audio/soundtrack.h"
#include "clock/demo_clock.h"

namespace {

using Clock = std::chrono::steady_clock;

// Tones made once per run in a directory of the run's own, removed at the end.
class Tones {
  public:
    Tones()
        : directory_(std::filesystem::temp_directory_path() /
                     ("ombra-soundtrack-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(directory_);
    }
    ~Tones() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }

    std::string path(int seconds) {
        const std::string file =
            (directory_ / ("tone-" + std::to_string(seconds) + "s.mp3")).string();
        if (!std::filesystem::exists(file)) {
            const std::string command = "(sox -n -r 44100 -c 2 -t wav - synth " +
                                        std::to_string(seconds) + " sine 440 | lame --quiet - " +
                                        file + ") >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0) {
                return {};
            }
        }
        return file;
    }

  private:
    std::filesystem::path directory_;
};

Tones& tones() {
    static Tones made;
    return made;
}

void useNullOutput() {
    setenv("ALSOFT_DRIVERS", "null", 1);
}

// A silent stream measures its length beside the caller; asking for the position an hour on
// waits until that is done.
void waitForLength(Soundtrack::Stream stream) {
    DemoClock::setManualTime(DemoClock::now() + 3600 * DemoClock::ticksPerSecond);
    benchmark::DoNotOptimize(Soundtrack::position(stream));
    DemoClock::setSource(nullptr);
}

// Arguments: the file's length in seconds; 1 to play silently.
void BM_OpenAndPlay(benchmark::State& state) {
    const std::string path = tones().path(static_cast<int>(state.range(0)));
    const bool silent = state.range(1) != 0;
    if (path.empty()) {
        state.SkipWithError("could not make the MP3 (sox, lame)");
        return;
    }
    useNullOutput();
    for (auto _ : state) {
        if (silent) {
            Soundtrack::forceSilent();
        }
        Soundtrack::initOutput();
        const Clock::time_point start = Clock::now();
        const Soundtrack::Stream stream = Soundtrack::openStream(path.c_str());
        Soundtrack::play(stream);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        benchmark::DoNotOptimize(stream);
        if (silent) {
            waitForLength(stream); // so that measurements do not pile up across iterations
        }
        Soundtrack::release();
    }
}
BENCHMARK(BM_OpenAndPlay)
    ->ArgNames({"seconds", "silent"})
    ->Args({3, 0})
    ->Args({180, 0})
    ->Args({3, 1})
    ->Args({180, 1})
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMicrosecond);

// The built-in soundtrack: its notes laid out and its first 150 ms synthesised on the caller's
// thread, the rest on the feeder's. Arguments: 1 to play silently.
void BM_OpenAndPlayBuiltIn(benchmark::State& state) {
    useNullOutput();
    for (auto _ : state) {
        if (state.range(0) != 0) {
            Soundtrack::forceSilent();
        }
        Soundtrack::initOutput();
        const Clock::time_point start = Clock::now();
        const Soundtrack::Stream stream = Soundtrack::openBuiltIn();
        Soundtrack::play(stream);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        benchmark::DoNotOptimize(stream);
        Soundtrack::release();
    }
}
BENCHMARK(BM_OpenAndPlayBuiltIn)
    ->ArgName("silent")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMicrosecond);

// Arguments: 1 to play silently.
void BM_Position(benchmark::State& state) {
    const std::string path = tones().path(180);
    if (path.empty()) {
        state.SkipWithError("could not make the MP3 (sox, lame)");
        return;
    }
    useNullOutput();
    if (state.range(0) != 0) {
        Soundtrack::forceSilent();
    }
    Soundtrack::initOutput();
    const Soundtrack::Stream stream = Soundtrack::openStream(path.c_str());
    Soundtrack::play(stream);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Soundtrack::position(stream));
    }
    Soundtrack::release();
}
BENCHMARK(BM_Position)->ArgName("silent")->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
