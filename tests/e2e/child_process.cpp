// Child processes and scratch folders for the end-to-end tests.
#include "child_process.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ombra-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    folder = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

std::string builtProgram(const std::string& name) {
    return std::string(OMBRA_BUILD_DIR) + "/" + name;
}

namespace {

// In the child after fork: only async-signal-safe calls until exec.
[[noreturn]] void execInChild(const std::vector<char*>& argv, const std::vector<char*>& envp,
                              const char* workingFolder, const char* outPath, const char* errPath) {
    const int out = open(outPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int nothing = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || nothing < 0 || chdir(workingFolder) != 0) {
        _exit(126);
    }
    dup2(nothing, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
}

// The test's environment with `changes` applied, each replacing an entry of the same name.
std::vector<std::string> environmentWith(const Environment& changes) {
    std::vector<std::string> entries;
    const auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (char** entry = environ; *entry; ++entry) {
        const std::string inherited = *entry;
        const bool replaced = std::any_of(changes.begin(), changes.end(), [&](const auto& change) {
            return nameOf(change) == nameOf(inherited);
        });
        if (!replaced) {
            entries.push_back(inherited);
        }
    }
    entries.insert(entries.end(), changes.begin(), changes.end());
    return entries;
}

// Pointers into `strings`, ending with the null pointer exec wants.
std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& commandLine,
                           const std::string& workingFolder, const Environment& changes) {
    std::vector<std::string> args = commandLine;
    std::vector<std::string> environment = environmentWith(changes);
    const std::vector<char*> argv = pointersTo(args);
    const std::vector<char*> envp = pointersTo(environment);
    const std::string outPath = outputFolder / "stdout";
    const std::string errPath = outputFolder / "stderr";
    child = fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        execInChild(argv, envp, workingFolder.c_str(), outPath.c_str(), errPath.c_str());
    }
}

ChildProcess::~ChildProcess() {
    if (!reaped) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
}

std::string ChildProcess::outSoFar() const {
    return readFile(outputFolder / "stdout");
}

ProcessResult ChildProcess::wait(std::chrono::milliseconds timeout) {
    ProcessResult result;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    reaped = true;
    if (!result.timedOut && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    result.out = readFile(outputFolder / "stdout");
    result.err = readFile(outputFolder / "stderr");
    return result;
}

void ChildProcess::stop() {
    if (!reaped) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
        reaped = true;
    }
}

ProcessResult runProcess(const std::vector<std::string>& commandLine,
                         const std::string& workingFolder, std::chrono::milliseconds timeout,
                         const Environment& changes) {
    ChildProcess process(commandLine, workingFolder, changes);
    return process.wait(timeout);
}
