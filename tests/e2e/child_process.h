// Running the real executables from the tests: scratch folders and child processes.
#pragma once

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <sys/types.h>

// A fresh temporary folder, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return folder; }
    std::string operator/(const std::string& name) const { return folder + "/" + name; }

  private:
    std::string folder;
};

std::string readFile(const std::string& path); // empty when missing

// Polls `condition` every 20 ms until it holds (true) or `patience` has gone by (false).
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds patience = std::chrono::minutes(1)) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    bool holds = condition();
    while (!holds && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        holds = condition();
    }
    return holds;
}

std::set<std::string> filesIn(const std::string& folder);
std::string builtProgram(const std::string& name);

struct ProcessResult {
    int exitCode = -1; // -1 when killed by a signal or the timeout
    bool timedOut = false;
    std::string out, err;
};

using Environment = std::vector<std::string>; // "NAME=value" entries set for the child

// A child with stdout and stderr in files and stdin from /dev/null; SIGTERMed at the end, or as
// the test program ends. OMBRA_TEST_BUILD in its environment names the build that started it.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& commandLine, const std::string& workingFolder,
                 const Environment& changes = {});
    ~ChildProcess();

    std::string outSoFar() const { return readFile(outputFolder / "stdout"); }
    std::string errSoFar() const { return readFile(outputFolder / "stderr"); }

    ProcessResult wait(std::chrono::milliseconds timeout); // kills the child after `timeout`
    pid_t id() const { return child; }

  private:
    TempFolder outputFolder;
    pid_t child = -1; // -1 once reaped
};

ProcessResult runProcess(const std::vector<std::string>& commandLine,
                         const std::string& workingFolder,
                         std::chrono::milliseconds timeout = std::chrono::seconds(120),
                         const Environment& changes = {});

bool runShell(const std::string& command, const std::string& workingFolder);

ProcessResult runCapture(std::vector<std::string> args, const std::string& workingFolder,
                         const Environment& changes = {});

// A private Xvfb server, one screen of `screen` pixels, `options` added, taking connections.
class PrivateDisplay {
  public:
    PrivateDisplay(const TempFolder& folder, const std::string& screen = "1024x768",
                   const std::vector<std::string>& options = {});

    std::string name;     // ":N"
    std::string variable; // "DISPLAY=:N"

  private:
    ChildProcess server;
};
