// The whole production through build-asan/'s renderer: any memory error or leak of ours fails.
#include <filesystem>
#include <regex>

#include <gtest/gtest.h>

#include "child_process.h"
#include "tone_mp3.h"
#include "tools/capture/production_length.h"

namespace {

using namespace std::chrono_literals;

const std::string sanitizedCapture = std::string(OMBRA_SOURCE_DIR) + "/build-asan/ombra-capture";

// Preloaded, Mesa's driver stays mapped for LeakSanitizer to name; the sanitizer's runtime first.
std::string preloads() {
    const std::string libraries = runProcess({"ldd", sanitizedCapture}, ".", 30s).out;
    std::smatch runtime;
    EXPECT_TRUE(std::regex_search(libraries, runtime, std::regex("libasan\\.so[.0-9]* => (\\S+)")))
        << "ldd finds no AddressSanitizer runtime in " << sanitizedCapture;
    return runtime.str(1) + " /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so";
}

TEST(Sanitizers, TheWholeProductionRunsWithoutMemoryErrorsOrLeaks) {
    ASSERT_TRUE(std::filesystem::exists(sanitizedCapture)) // fails rather than skips
        << sanitizedCapture << " is missing: ./test.sh builds it (or scripts/build-sanitized.sh)";
    TempFolder folder; // with a soundtrack, so that decoding runs under the sanitizers too
    ASSERT_TRUE(runShell(toneMp3Command("Ombra.mp3", "20"), folder.path()));
    // A sanitizer report exits with 23; suppressions only name third-party libraries.
    const Environment sanitizers{
        "LD_PRELOAD=" + preloads(),
        "ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:"
        "check_initialization_order=1:strict_init_order=1:exitcode=23",
        "LSAN_OPTIONS=suppressions=" OMBRA_SOURCE_DIR
        "/tests/sanitizer/lsan.supp:print_suppressions=0:exitcode=23"};
    const ProcessResult result =
        runProcess({sanitizedCapture, "--quiet", "--out", "frames", "--fps", "10", "--seed", "7",
                    "--frames", "30,80," + std::to_string(productionFrames(10) - 1)},
                   folder.path(), 540s, sanitizers);
    EXPECT_EQ(result.exitCode, 0) << (result.timedOut ? "ran for nine minutes" : result.err);
    EXPECT_EQ(result.err, "") << "the renderer checks that the production ends at its last frame";

    // Without it, a short video: the whole built-in soundtrack is synthesised for its sound.
    ASSERT_TRUE(runShell("rm Ombra.mp3", folder.path()));
    const ProcessResult video = runProcess(
        {sanitizedCapture, "--quiet", "--video", "v.mkv", "--fps", "10", "--frames", "0-9"},
        folder.path(), 540s, sanitizers);
    EXPECT_EQ(video.exitCode, 0) << (video.timedOut ? "ran for nine minutes" : video.err);
    const std::string said = "ombra-capture: Ombra.mp3 is in none of: the working directory, ",
                      carried = ": the video carries OMBRA's own soundtrack\n";
    EXPECT_EQ(video.err.substr(0, said.size()), said) << video.err;
    EXPECT_TRUE(video.err.size() > carried.size() &&
                video.err.substr(video.err.size() - carried.size()) == carried)
        << video.err;
}

} // namespace
