// A rendering cached on disk under a lock file, so that test processes running side by side
// (ctest -j) make it once between them.
#include "production_capture.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "child_process.h"

namespace fs = std::filesystem;

namespace {

// The whole production at 60 frames a second renders in under a minute on an idle machine and
// in a few on a busy one; ctest allows each test ten.
constexpr auto renderTimeout = std::chrono::seconds(540);
const std::string folderPrefix = "production-";

// An exclusive hold on a lock file for as long as this lives; the kernel lets go of it when the
// process dies, so a test killed while rendering leaves no stale lock behind.
class FileLock {
  public:
    FileLock(const std::string& path, bool wait) : fd(open(path.c_str(), O_CREAT | O_RDWR, 0644)) {
        if (fd < 0) {
            throw std::runtime_error("cannot open the lock file " + path);
        }
        held = flock(fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB) == 0;
    }
    ~FileLock() {
        if (held) {
            flock(fd, LOCK_UN);
        }
        close(fd);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool isHeld() const { return held; }

  private:
    int fd;
    bool held = false;
};

std::uint64_t fnv1a(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
}

// Names the build of `program` and what it is asked to do.
std::string runName(const std::string& program, const std::vector<std::string>& arguments) {
    struct stat status {};
    if (stat(program.c_str(), &status) != 0) {
        throw std::runtime_error("cannot find " + program);
    }
    std::string identity = std::to_string(status.st_size) + ":" +
                           std::to_string(status.st_mtim.tv_sec) + "." +
                           std::to_string(status.st_mtim.tv_nsec);
    for (const std::string& argument : arguments) {
        identity += "\n" + argument;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(fnv1a(identity)));
    return folderPrefix + name;
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Renders into a scratch folder, which becomes `folder` only once the run is over, so a folder
// under the final name always holds a finished run.
void render(const std::string& program, const std::vector<std::string>& arguments,
            const fs::path& folder) {
    const fs::path scratch = folder.string() + ".partial";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    std::vector<std::string> command{program, "--out", (scratch / "frames").string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const ProcessResult result = runProcess(command, scratch.string(), renderTimeout);
    writeText(scratch / "exit-code", std::to_string(result.exitCode));
    writeText(scratch / "stderr", result.timedOut ? result.err + "\n(timed out)" : result.err);
    fs::remove_all(folder);
    fs::rename(scratch, folder);
}

// Runs left behind by earlier builds (finished, partial, or only their lock file), unless a test
// of theirs is still at work on them.
void removeOtherRuns(const fs::path& dataFolder, const std::string& keep) {
    std::set<std::string> others;
    for (const auto& entry : fs::directory_iterator(dataFolder)) {
        const std::string name = entry.path().filename().string();
        const std::string run = name.substr(0, name.find('.'));
        if (name.rfind(folderPrefix, 0) == 0 && run != keep) {
            others.insert(run);
        }
    }
    for (const std::string& other : others) {
        const std::string base = (dataFolder / other).string();
        const FileLock lock(base + ".lock", /*wait=*/false);
        if (lock.isHeld()) {
            std::error_code ignored;
            fs::remove_all(base, ignored);
            fs::remove_all(base + ".partial", ignored);
            fs::remove(base + ".lock", ignored);
        }
    }
}

std::string describe(const std::string& program, const std::vector<std::string>& arguments,
                     const fs::path& folder) {
    std::string text = program;
    for (const std::string& argument : arguments) {
        text += " " + argument;
    }
    return text + "\n  cached in " + folder.string();
}

SharedCapture makeOrFind(const std::string& program, const std::vector<std::string>& arguments) {
    const fs::path dataFolder = OMBRA_TEST_DATA;
    fs::create_directories(dataFolder);
    const std::string name = runName(program, arguments);
    const fs::path folder = dataFolder / name;
    {
        const FileLock lock(folder.string() + ".lock", /*wait=*/true);
        if (!lock.isHeld()) {
            throw std::runtime_error("cannot lock " + folder.string());
        }
        if (!fs::is_directory(folder)) {
            render(program, arguments, folder);
        }
    }
    removeOtherRuns(dataFolder, name);

    SharedCapture capture;
    capture.folder = (folder / "frames").string();
    capture.errors = readFile((folder / "stderr").string());
    const std::string exitCode = readFile((folder / "exit-code").string());
    capture.exitCode = exitCode.empty() ? -1 : std::stoi(exitCode);
    capture.summary = describe(program, arguments, folder);
    return capture;
}

} // namespace

SharedCapture sharedCapture(const std::vector<std::string>& arguments) {
    static std::map<std::vector<std::string>, SharedCapture> madeInThisProcess;
    const auto known = madeInThisProcess.find(arguments);
    if (known != madeInThisProcess.end()) {
        return known->second;
    }
    const SharedCapture capture = makeOrFind(builtProgram("ombra-capture"), arguments);
    madeInThisProcess.emplace(arguments, capture);
    return capture;
}
