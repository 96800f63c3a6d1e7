// The whole production under AddressSanitizer and LeakSanitizer: the offline renderer built into
// build-asan/ plays every Scene and every outro, and any memory error or leak of ours fails it.
#include <filesystem>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "child_process.h"

namespace {

using namespace std::chrono_literals;

const std::string sanitizedCapture = std::string(OMBRA_SOURCE_DIR) + "/build-asan/ombra-capture";
const std::string suppressions = std::string(OMBRA_SOURCE_DIR) + "/tests/sanitizer/lsan.supp";

// At exit freeglut closes the X display and Mesa unloads its driver before LeakSanitizer looks,
// so what the driver still held would be reported without a library to name. Loading the driver
// ahead of the program keeps it mapped; the sanitizer runtime, as ldd finds it, must come first.
std::string preloads() {
    const std::string libraries = runProcess({"ldd", sanitizedCapture}, ".", 30s).out;
    std::smatch runtime;
    EXPECT_TRUE(std::regex_search(libraries, runtime, std::regex("libasan\\.so[.0-9]* => (\\S+)")))
        << "ldd finds no AddressSanitizer runtime in " << sanitizedCapture;
    std::string driver = "(no swrast_dri.so in the usual places)";
    for (const char* place : {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
                              "/usr/lib64/dri/swrast_dri.so", "/usr/lib/dri/swrast_dri.so"}) {
        driver = std::filesystem::exists(place) ? place : driver;
    }
    return runtime.str(1) + " " + driver;
}

// Ten frames a simulated second still play every Scene, every outro and every particle; two
// frames are written as pictures, and rendering runs on to the production's end.
TEST(Sanitizers, TheWholeProductionRunsWithoutMemoryErrorsOrLeaks) {
    // A missing build fails the test rather than skipping it, so that nothing passes unchecked.
    ASSERT_TRUE(std::filesystem::exists(sanitizedCapture))
        << sanitizedCapture << " is missing: ./test.sh builds it (or scripts/build-sanitized.sh)";
    TempFolder folder;
    ASSERT_TRUE(
        runShell("sox -n -r 44100 -c 2 -t wav - synth 20 sine 440 | lame --quiet - Ombra.mp3",
                 folder.path()));
    // A sanitizer report ends the process with status 23, so none goes unnoticed even when the
    // renderer would otherwise have succeeded; suppressions only name third-party libraries.
    const ProcessResult result = runProcess(
        {sanitizedCapture, "--quiet", "--out", "frames", "--fps", "10", "--seed", "7", "--frames",
         "30,80,999999"},
        folder.path(), 540s,
        {"LD_PRELOAD=" + preloads(),
         "ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:"
         "check_initialization_order=1:strict_init_order=1:exitcode=23",
         "LSAN_OPTIONS=suppressions=" + suppressions + ":print_suppressions=0:exitcode=23"});
    EXPECT_EQ(result.exitCode, 0) << (result.timedOut ? "ran for nine minutes" : result.err);
    EXPECT_TRUE(std::regex_match(
        result.err,
        std::regex("ombra-capture: the production ended at frame [0-9]+, before frame 999999\n")))
        << result.err;
}

} // namespace
