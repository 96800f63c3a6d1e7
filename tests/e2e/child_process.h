// Running the real executables from the tests: a scratch folder, and a child process whose
// output goes to files there.
#pragma once

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include <sys/types.h>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
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

// The whole contents of a file; empty when it does not exist.
std::string readFile(const std::string& path);

// The names of the files and folders in a folder.
std::set<std::string> filesIn(const std::string& folder);

// A program of the build folder, e.g. "ombra-capture".
std::string builtProgram(const std::string& name);

struct ProcessResult {
    int exitCode = -1; // -1 when it did not exit on its own (killed by a signal or the timeout)
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Environment entries such as "DISPLAY=:7" that replace or add to the test's own.
using Environment = std::vector<std::string>;

// A child process started in `workingFolder` with stdout and stderr sent to files of its own and
// stdin from /dev/null. One still running at the end is sent SIGTERM and waited for.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& commandLine, const std::string& workingFolder,
                 const Environment& changes = {});
    ~ChildProcess();

    std::string outSoFar() const { return readFile(outputFolder / "stdout"); }
    std::string errSoFar() const { return readFile(outputFolder / "stderr"); }

    // Waits for the end, killing the child when it takes longer than `timeout`.
    ProcessResult wait(std::chrono::milliseconds timeout);

  private:
    TempFolder outputFolder;
    pid_t child = -1; // -1 once reaped
};

// Runs a command to its end and returns what it printed.
ProcessResult runProcess(const std::vector<std::string>& commandLine,
                         const std::string& workingFolder,
                         std::chrono::milliseconds timeout = std::chrono::seconds(120),
                         const Environment& changes = {});

// Runs a shell command to its end; true when it succeeds.
bool runShell(const std::string& command, const std::string& workingFolder);

// Runs the offline renderer with `args` to its end.
ProcessResult runCapture(std::vector<std::string> args, const std::string& workingFolder,
                         const Environment& changes = {});
