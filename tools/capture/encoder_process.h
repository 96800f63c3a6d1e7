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

// Creates `path`, which must not exist yet, as an empty file: 0, or the errno of the failure.
int createNewFile(const std::string& path);
