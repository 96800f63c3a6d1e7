// The demo executable on an X display of its own: its console output and its keys.
#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "child_process.h"
#include "virtual_display.h"

namespace {

using namespace std::chrono_literals;

const std::string startOutput = "Please wait.\n... ... ... ... ... ... ";

// The demo on a display of its own, in a folder without a soundtrack, with its window found and
// ready for keys.
class RunningDemo {
  public:
    RunningDemo() : demo({builtProgram("ombra")}, folder.path(), {display.environmentEntry()}) {
        window = findWindow();
        waitForBuild();
    }

    bool hasWindow() const { return !window.empty(); }

    void press(const std::vector<std::string>& keys) {
        std::vector<std::string> command{"xdotool", "key", "--window", window};
        command.insert(command.end(), keys.begin(), keys.end());
        // xdotool fails once Esc has ended the demo before the key is released; that is fine.
        runProcess(command, folder.path(), 10s, {display.environmentEntry()});
    }

    ProcessResult waitForExit() { return demo.wait(20s); }

  private:
    // The display is this demo's alone, so the only window titled OMBRA is its window.
    std::string findWindow() {
        if (!display.ready()) {
            return "";
        }
        const ProcessResult search =
            runProcess({"timeout", "30", "xdotool", "search", "--sync", "--name", "^OMBRA$"},
                       folder.path(), 40s, {display.environmentEntry()});
        return search.out.substr(0, search.out.find('\n'));
    }

    // "Please wait." is flushed before the Scenes are built; the dots only at the end. Keys sent
    // meanwhile wait in the X queue until the frame loop runs, so a short pause is all it takes
    // for the loop to be playing when they arrive.
    void waitForBuild() {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (demo.outSoFar().empty() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(50ms);
        }
        std::this_thread::sleep_for(2s);
    }

    VirtualDisplay display;
    TempFolder folder;
    ChildProcess demo;
    std::string window;
};

TEST(Demo, EscEndsTheRunAfterTheSixBuildDotsAndUpperCaseRPrintsNothing) {
    RunningDemo demo;
    ASSERT_TRUE(demo.hasWindow()) << "no window titled OMBRA appeared on a display of its own";
    demo.press({"R", "shift+r"});
    demo.press({"Escape"});
    const ProcessResult result = demo.waitForExit();

    EXPECT_FALSE(result.timedOut) << "Esc did not end the demo";
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, startOutput);
}

TEST(Demo, LowerCaseRPrintsTheMusicPositionEachTimeOnOneLine) {
    RunningDemo demo;
    ASSERT_TRUE(demo.hasWindow()) << "no window titled OMBRA appeared on a display of its own";
    demo.press({"r", "R", "r"});
    demo.press({"r"});
    demo.press({"Escape"});
    const ProcessResult result = demo.waitForExit();

    EXPECT_EQ(result.exitCode, 0) << result.err;
    ASSERT_EQ(result.out.compare(0, startOutput.size(), startOutput), 0) << result.out;
    const std::string positions = result.out.substr(startOutput.size());
    std::smatch numbers;
    ASSERT_TRUE(std::regex_match(positions, numbers, std::regex("([0-9]+) ([0-9]+) ([0-9]+) ")))
        << "printed after the dots: \"" << positions << "\"";
    // The position never runs backwards while the demo plays.
    EXPECT_LE(std::stoull(numbers[1]), std::stoull(numbers[2]));
    EXPECT_LE(std::stoull(numbers[2]), std::stoull(numbers[3]));
}

} // namespace
