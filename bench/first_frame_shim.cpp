// Preloaded into a program to time its start: at its first buffer swap it prints the
// milliseconds since OMBRA_LAUNCH_NS (the wall clock in nanoseconds just before the program was
// started) and ends the process at once.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <unistd.h>

extern "C" void glutSwapBuffers() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const char* launch = std::getenv("OMBRA_LAUNCH_NS");
    const long long launched = launch ? std::atoll(launch) : 0;
    const long long elapsed = now.tv_sec * 1'000'000'000LL + now.tv_nsec - launched;
    std::fprintf(stderr, "first frame after %.2f ms\n", static_cast<double>(elapsed) / 1e6);
    std::fflush(stderr);
    _exit(0);
}
