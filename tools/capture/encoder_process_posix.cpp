// The encoder's child process on POSIX systems: posix_spawnp, a pipe and waitpid.
#include "tools/capture/encoder_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tools/capture/stop_signals.h"

extern char** environ;

namespace {

// Starts the program with the pipe's read end as its standard input, its standard output
// discarded and its standard error sent to the log. Returns 0 or the error that kept it from
// starting.
int spawn(const std::vector<std::string>& args, int input, int log, pid_t& child) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, input, STDIN_FILENO);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&files, log, STDERR_FILENO);

    // Ignored signals stay ignored across exec; ffmpeg gets SIGPIPE back as it expects it. A
    // process group of its own keeps a terminal's Ctrl-C from reaching it: the renderer decides
    // what becomes of a video that was cut short.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t noneBlocked;
    sigemptyset(&noneBlocked);
    posix_spawnattr_setsigmask(&attributes, &noneBlocked);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETPGROUP);

    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const int error = posix_spawnp(&child, argv[0], &files, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    return error;
}

} // namespace

EncoderProcess::EncoderProcess(const std::vector<std::string>& args, std::FILE* log,
                               std::size_t pipeBytes) {
    // A reader that dies must show up as EPIPE from write(), not as a signal that ends the
    // renderer without a word.
    std::signal(SIGPIPE, SIG_IGN);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot make a pipe for " + args[0] + ": " + std::strerror(errno));
    }
    pipeInput = ends[1];
    fcntl(pipeInput, F_SETPIPE_SZ, static_cast<int>(pipeBytes)); // a smaller pipe only costs speed
    pid_t started = -1;
    const int error = spawn(args, ends[0], fileno(log), started);
    close(ends[0]); // the child holds its own copy
    if (error != 0) {
        closeInput();
        throw std::runtime_error("cannot start " + args[0] + ": " + std::strerror(error) +
                                 " (a video needs " + args[0] + ", from the Debian package " +
                                 args[0] + ")");
    }
    child = started;
}

ProcessEnd EncoderProcess::wait(bool stoppable) {
    int status = 0;
    if (child <= 0) {
        return {};
    }
    if (stoppable) { // one that came while the last frames were fed
        throwIfStopRequested();
    }
    while (waitpid(static_cast<pid_t>(child), &status, 0) < 0 && errno == EINTR) {
        if (stoppable) {
            throwIfStopRequested();
        }
    }
    child = -1;
    if (WIFSIGNALED(status)) {
        return {false, WTERMSIG(status)};
    }
    return {true, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

void EncoderProcess::kill() {
    if (child > 0) {
        ::kill(static_cast<pid_t>(child), SIGKILL);
    }
}

std::FILE* makeProcessLog() {
    std::FILE* log = std::tmpfile();
    if (log) {
        fcntl(fileno(log), F_SETFD, FD_CLOEXEC);
    }
    return log;
}

int processId() {
    return static_cast<int>(getpid());
}

int ClaimedFile::claim(const std::string& path) {
    held = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (held < 0) {
        return errno;
    }
    if (flock(held, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EEXIST : errno;
        close(held);
        held = -1;
        return error;
    }
    return 0; // ffmpeg overwrites what a file taken over holds
}

ClaimedFile::~ClaimedFile() {
    if (held >= 0) {
        close(held);
    }
}
