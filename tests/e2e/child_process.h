// Running the real executables from the tests: a scratch folder, and a child process whose
// output goes to files there.
#pragma once

#include <chrono>
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

// A child process started in `workingFolder` with stdout and stderr sent to files of its own.
// It inherits the environment (DISPLAY, ALSOFT_DRIVERS) apart from `changes`. A child still
// running when this ends is killed.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& commandLine, const std::string& workingFolder,
                 const Environment& changes = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return child; }
    std::string outSoFar() const;

    // Waits for the end, killing the child when it takes longer than `timeout`.
    ProcessResult wait(std::chrono::milliseconds timeout);

    // Asks the child to end (SIGTERM) and waits for it.
    void stop();

  private:
    TempFolder outputFolder;
    pid_t child = -1;
    bool reaped = false;
};

// Runs a command to its end and returns what it printed.
ProcessResult runProcess(const std::vector<std::string>& commandLine,
                         const std::string& workingFolder,
                         std::chrono::milliseconds timeout = std::chrono::seconds(120),
                         const Environment& changes = {});
