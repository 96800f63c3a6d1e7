// Child processes and scratch folders for the end-to-end tests.
#include "child_process.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

TempFolder::TempFolder()
    : folder((std::filesystem::temp_directory_path() / "ombra-e2e-XXXXXX").string()) {
    if (!mkdtemp(folder.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string builtProgram(const std::string& name) {
    return std::string(OMBRA_BUILD_DIR) + "/" + name;
}

ChildProcess::ChildProcess(const std::vector<std::string>& commandLine,
                           const std::string& workingFolder, const Environment& changes) {
    std::vector<std::string> args{"env", "OMBRA_TEST_BUILD=" OMBRA_BUILD_DIR};
    args.insert(args.end(), changes.begin(), changes.end());
    args.insert(args.end(), commandLine.begin(), commandLine.end());
    std::vector<char*> argv(args.size() + 1, nullptr);
    std::transform(args.begin(), args.end(), argv.begin(),
                   [](std::string& arg) { return arg.data(); });
    const std::string outPath = outputFolder / "stdout", errPath = outputFolder / "stderr";
    const pid_t parent = getpid();
    child = fork();
    if (child == 0) { // only async-signal-safe calls until exec
        // The child goes with the test program, however that ends (ctest kills one that runs out
        // of time); SIGTERM lets an Xvfb remove its lock and socket.
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) {
            _exit(127);
        }
        dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
        dup2(open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
        dup2(open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
        if (chdir(workingFolder.c_str()) == 0) {
            execvp(argv[0], argv.data());
        }
        _exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (child > 0) {
        kill(child, SIGTERM); // lets Xvfb remove its lock and socket
        waitpid(child, nullptr, 0);
    }
}

ProcessResult ChildProcess::wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    bool timedOut = false;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if ((timedOut = std::chrono::steady_clock::now() > deadline)) {
            kill(child, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    child = -1;
    const int exitCode = !timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return {exitCode, timedOut, outSoFar(), errSoFar()};
}

ProcessResult runProcess(const std::vector<std::string>& commandLine,
                         const std::string& workingFolder, std::chrono::milliseconds timeout,
                         const Environment& changes) {
    return ChildProcess(commandLine, workingFolder, changes).wait(timeout);
}

ProcessResult runCapture(std::vector<std::string> args, const std::string& workingFolder,
                         const Environment& changes) {
    args.insert(args.begin(), builtProgram("ombra-capture"));
    return runProcess(args, workingFolder, std::chrono::seconds(120), changes);
}

bool runShell(const std::string& command, const std::string& workingFolder) {
    return runProcess({"sh", "-c", command}, workingFolder).exitCode == 0;
}

namespace {

std::vector<std::string> xvfbCommand(const std::string& screen, std::vector<std::string> options) {
    options.insert(options.begin(),
                   {"Xvfb", "-displayfd", "1", "-screen", "0", screen + "x24", "-nolisten", "tcp"});
    return options;
}

} // namespace

PrivateDisplay::PrivateDisplay(const TempFolder& folder, const std::string& screen,
                               const std::vector<std::string>& options)
    : server(xvfbCommand(screen, options), folder.path()) {
    // Xvfb writes its display number (-displayfd 1) once it accepts connections.
    std::string written;
    eventually([&] { return (written = server.outSoFar()).find('\n') != std::string::npos; });
    name = ":" + written.substr(0, written.find('\n'));
    variable = "DISPLAY=" + name;
}
