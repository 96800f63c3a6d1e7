// A rendering cached on disk under a lock file, so that test processes running side by side
// (ctest -j) make it once between them.
#include "production_capture.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "child_process.h"

namespace fs = std::filesystem;

std::string sharedCapture(const std::vector<std::string>& arguments) {
    // An open lock file, closed with its lock at the end; the kernel lets go of the lock when
    // the process dies too, so a test killed while rendering leaves no stale lock behind.
    struct OpenFile {
        const int fd;
        ~OpenFile() { close(fd); }
    };
    const fs::path folder = fs::path(OMBRA_TEST_DATA) / "production";
    fs::create_directories(folder.parent_path());
    const OpenFile lock{open((folder.string() + ".lock").c_str(), O_CREAT | O_RDWR, 0644)};
    if (lock.fd < 0 || flock(lock.fd, LOCK_EX) != 0) {
        throw std::runtime_error("cannot lock " + folder.string());
    }
    // The renderer's size and modification time, so that a rebuild renders afresh, and what it
    // is asked to do; written last, so that a run cut short is never taken for a finished one.
    const std::string program = builtProgram("ombra-capture");
    std::string identity = std::to_string(fs::file_size(program)) + " " +
                           std::to_string(fs::last_write_time(program).time_since_epoch().count());
    std::vector<std::string> command{program, "--out", (folder / "frames").string()};
    for (const std::string& argument : arguments) {
        identity += "\n" + argument;
        command.push_back(argument);
    }
    if (readFile((folder / "identity").string()) != identity) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        // The production at 60 frames a second renders in a minute or a few, and ctest allows
        // ten; a renderer killed on running out of time gives the exit code -1.
        const ProcessResult run = runProcess(command, folder.string(), std::chrono::seconds(540));
        std::ofstream(folder / "errors")
            << (run.exitCode == 0 ? ""
                                  : "exit code " + std::to_string(run.exitCode) + ": " + run.err);
        std::ofstream(folder / "identity") << identity;
    }
    const std::string errors = readFile((folder / "errors").string());
    if (!errors.empty()) {
        throw std::runtime_error("the rendering in " + folder.string() + " failed: " + errors);
    }
    return (folder / "frames").string();
}
