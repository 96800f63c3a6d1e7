// The video encoder as a child process, started the platform's own way with an argument vector
// (no shell, so any file name is safe): its standard input a pipe the renderer writes into, its
// standard output discarded, its standard error sent to a log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// How a child process ended.
struct ProcessEnd {
    bool exited = true; // false when a signal ended it
    int code = 0;       // its exit status, or the signal's number
};

class EncoderProcess {
  public:
    // Starts the program args[0], found on PATH, with a pipe of `pipeBytes` to its standard input
    // and `log` as its standard error. Throws std::runtime_error that says what to install when
    // it cannot be started.
    EncoderProcess(const std::vector<std::string>& args, std::FILE* log, std::size_t pipeBytes);
    // Kills and reaps a child still running.
    ~EncoderProcess();
    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;

    // The pipe's write end as a C runtime descriptor; -1 once closed.
    int input() const { return pipeInput; }
    void closeInput();

    // Waits for the child to end and reaps it. A `stoppable` wait throws StopRequested when a stop
    // is requested meanwhile, leaving the child running.
    ProcessEnd wait(bool stoppable = false);

    // Ends the child at once; wait() still reaps it.
    void kill();

  private:
    int pipeInput = -1;
    std::intptr_t child = -1; // a process id, or a Windows process handle; -1 once reaped
};

// A temporary file for a child's messages, removed when closed and never inherited by another
// child; nullptr with errno set when there is none.
std::FILE* makeProcessLog();

// The renderer's process id, which makes a file name its own.
int processId();

// A file this process writes under a name of its own: created, or taken over where a process
// that has ended left it (a render killed outright, whose process id this one happens to have).
// While the object lives no other live process takes it: on POSIX systems a lock on it (flock,
// which the system drops as the process ends, as the folder lock's); Windows gives no live
// process another's id, so a file under this one's is always a leftover there.
class ClaimedFile {
  public:
    ClaimedFile() = default;
    ~ClaimedFile();
    ClaimedFile(const ClaimedFile&) = delete;
    ClaimedFile& operator=(const ClaimedFile&) = delete;

    // 0, or the errno of the failure: EEXIST while a live process holds the file.
    int claim(const std::string& path);

  private:
    int held = -1; // a descriptor holding the lock
};
