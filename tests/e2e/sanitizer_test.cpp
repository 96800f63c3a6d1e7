// The whole production under AddressSanitizer and LeakSanitizer: the offline renderer built into
// build-asan/ plays every Scene and every outro, and any memory error or leak of ours fails it.
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "capture_files.h"
#include "child_process.h"
#include "test_soundtracks.h"

namespace {

using namespace std::chrono_literals;

const std::string sourceDir = OMBRA_SOURCE_DIR;
const std::string sanitizedCapture = sourceDir + "/build-asan/ombra-capture";
const std::string suppressions = sourceDir + "/tests/sanitizer/lsan.supp";

// A sanitizer report makes the process end with this status, so no report goes unnoticed even
// when the renderer would otherwise have succeeded.
constexpr int reportStatus = 23;

// Where Debian and other distributions keep Mesa's software rasteriser.
const char* const mesaDriverPlaces[] = {
    "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
    "/usr/lib64/dri/swrast_dri.so",
    "/usr/lib/dri/swrast_dri.so",
};

std::string mesaDriver() {
    for (const char* place : mesaDriverPlaces) {
        if (std::filesystem::exists(place)) {
            return place;
        }
    }
    return "";
}

// The AddressSanitizer runtime the sanitized renderer loads, as ldd finds it.
std::string sanitizerRuntime() {
    const ProcessResult ldd = runProcess({"ldd", sanitizedCapture}, ".", 30s);
    std::smatch found;
    if (!std::regex_search(ldd.out, found, std::regex("libasan\\.so[.0-9]* => (\\S+)"))) {
        return "";
    }
    return found[1];
}

// At exit freeglut closes the X display and Mesa unloads its driver before LeakSanitizer looks,
// so what the driver still held would be reported without a library to name. Loading the driver
// ahead of the program keeps it mapped; the sanitizer runtime must come first.
std::string preloads() {
    const std::string runtime = sanitizerRuntime();
    const std::string driver = mesaDriver();
    EXPECT_NE(runtime, "") << "ldd finds no AddressSanitizer runtime in " << sanitizedCapture;
    EXPECT_NE(driver, "") << "Mesa's swrast_dri.so is in none of the usual places";
    return runtime + " " + driver;
}

// The sanitizers' settings; suppressions only name third-party libraries.
Environment sanitizerEnvironment() {
    const std::string status = "exitcode=" + std::to_string(reportStatus);
    return {
        "LD_PRELOAD=" + preloads(),
        "ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:"
        "check_initialization_order=1:strict_init_order=1:" +
            status,
        "LSAN_OPTIONS=suppressions=" + suppressions + ":print_suppressions=0:" + status,
    };
}

bool sawReport(const std::string& err) {
    return err.find("Sanitizer") != std::string::npos;
}

// A missing build fails the test rather than skipping it, so that nothing passes unchecked.
testing::AssertionResult sanitizedCaptureIsBuilt() {
    if (std::filesystem::exists(sanitizedCapture)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << sanitizedCapture << " is missing: run ./test.sh, which "
                                       << "builds it (or scripts/build-sanitized.sh alone)";
}

// Ten frames a simulated second still play every Scene, every outro and every particle; only two
// frames are written as pictures, and rendering runs on past the production's end.
TEST(Sanitizers, TheWholeProductionRunsWithoutMemoryErrorsOrLeaks) {
    ASSERT_TRUE(sanitizedCaptureIsBuilt());
    ASSERT_TRUE(std::filesystem::exists(suppressions)) << suppressions;
    TempFolder folder;
    std::filesystem::copy_file(toneMp3(20), folder / "Ombra.mp3");
    const std::string out = folder / "frames";
    constexpr int pastTheEnd = 999999;

    const ProcessResult result =
        runProcess({sanitizedCapture, "--quiet", "--out", out, "--fps", "10", "--seed", "7",
                    "--frames", "30,80," + std::to_string(pastTheEnd)},
                   folder.path(), 540s, sanitizerEnvironment());

    ASSERT_FALSE(result.timedOut) << "the sanitized renderer ran for nine minutes";
    EXPECT_FALSE(sawReport(result.err)) << result.err;
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(std::regex_match(result.err,
                                 std::regex("ombra-capture: the production ended at frame [0-9]+, "
                                            "before frame " +
                                            std::to_string(pastTheEnd) + "\n")))
        << result.err;

    // Every Scene played and ran its outro, and the last frame shown was the closing curtain.
    const FrameCsv csv = readFrameCsv(out + "/frames.csv");
    std::set<std::pair<int, std::string>> phases;
    for (const FrameRow& row : csv.rows) {
        phases.insert({row.scene, row.phase});
    }
    for (int scene = 1; scene <= 6; ++scene) {
        EXPECT_EQ(phases.count({scene, "play"}), 1u) << "Scene " << scene << " never played";
        EXPECT_EQ(phases.count({scene, "outro"}), 1u) << "Scene " << scene << "'s outro never ran";
    }
    ASSERT_FALSE(csv.rows.empty());
    EXPECT_EQ(csv.rows.back().scene, 6);
    EXPECT_EQ(csv.rows.back().phase, "outro");
    EXPECT_TRUE(readPng(out + "/frame_000030.png").readable);
    EXPECT_TRUE(readPng(out + "/frame_000080.png").readable);
}

// Decoding what is no MP3, or an MP3 cut short, reads and frees nothing it should not.
class SanitizedBrokenSoundtrack : public testing::TestWithParam<BrokenSoundtrack> {};

TEST_P(SanitizedBrokenSoundtrack, RendersThreeSecondsWithoutMemoryErrorsOrLeaks) {
    ASSERT_TRUE(sanitizedCaptureIsBuilt());
    TempFolder folder;
    ASSERT_NO_FATAL_FAILURE(GetParam().place(folder / "Ombra.mp3"));
    const ProcessResult result = runProcess(
        {sanitizedCapture, "--quiet", "--out", folder / "frames", "--fps", "10", "--frames", "30"},
        folder.path(), 120s, sanitizerEnvironment());

    EXPECT_FALSE(result.timedOut);
    EXPECT_FALSE(sawReport(result.err)) << result.err;
    EXPECT_EQ(result.exitCode, 0) << result.err;
}

INSTANTIATE_TEST_SUITE_P(Soundtracks, SanitizedBrokenSoundtrack,
                         testing::ValuesIn(brokenSoundtracks()),
                         [](const testing::TestParamInfo<BrokenSoundtrack>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
