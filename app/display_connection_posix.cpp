// Connecting to the X display: an X server busy with several clients connecting at once (Xvfb
// does this, and resets when its last client leaves) can drop a new connection before answering
// it, and GLUT ends the program on the first failure. This XOpenDisplay, which GLUT's calls reach
// in place of Xlib's, tries such a connection again for up to two seconds. A server that answers
// with a refusal, or a display that is not there, fails at once with Xlib's one message.
#include "app/display_connection.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Holds what is written to standard error while it lives, to be read and passed on afterwards.
// Xlib gives no other sign of whether the server answered: a refusal's reason is written
// straight to file descriptor 2, and errno is left as a dropped connection leaves it.
class HeldErrors {
  public:
    HeldErrors() {
        std::fflush(stderr);
        saved = dup(STDERR_FILENO);
        held = memfd_create("x-display-messages", MFD_CLOEXEC);
        if (saved < 0 || held < 0 || dup2(held, STDERR_FILENO) < 0) {
            release();
        }
    }
    ~HeldErrors() { release(); }
    HeldErrors(const HeldErrors&) = delete;
    HeldErrors& operator=(const HeldErrors&) = delete;

    // Puts standard error back and returns what was held, empty when nothing could be held.
    std::string release() {
        std::string text;
        if (saved >= 0) {
            std::fflush(stderr);
            dup2(saved, STDERR_FILENO);
            close(saved);
            saved = -1;
        }
        if (held >= 0) {
            char buffer[512];
            ssize_t got = 0;
            lseek(held, 0, SEEK_SET);
            while ((got = read(held, buffer, sizeof buffer)) > 0) {
                text.append(buffer, static_cast<std::size_t>(got));
            }
            close(held);
            held = -1;
        }
        return text;
    }

  private:
    int saved = -1;
    int held = -1;
};

// A connection the server closed or reset before it said anything may succeed a moment later.
bool droppedUnanswered(int error, const std::string& serverMessage) {
    return serverMessage.empty() && (error == ECONNRESET || error == EAGAIN);
}

Display* lastOpened = nullptr;

} // namespace

extern "C" Display* XOpenDisplay(const char* name) {
    using OpenDisplay = Display* (*)(const char*);
    static const auto xlibOpenDisplay =
        reinterpret_cast<OpenDisplay>(dlsym(RTLD_NEXT, "XOpenDisplay"));
    constexpr int attempts = 20;
    for (int attempt = 1;; ++attempt) {
        HeldErrors errors;
        errno = 0;
        Display* display = xlibOpenDisplay(name);
        const int error = errno;
        const std::string messages = errors.release();
        std::fputs(messages.c_str(), stderr);
        if (display || !droppedUnanswered(error, messages) || attempt == attempts) {
            lastOpened = display != nullptr ? display : lastOpened;
            return display;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

void usePatientDisplayConnection() {}

Display* lastOpenedDisplay() {
    return lastOpened;
}
