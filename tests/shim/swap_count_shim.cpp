// Preloaded into the demo: counts its buffer swaps and, as the process ends, writes the count
// and the seconds from the first swap to the last into the file OMBRA_SWAP_LOG names.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <dlfcn.h>

static struct Swaps {
    long count = 0;
    std::chrono::steady_clock::time_point first, last;
    ~Swaps() {
        if (FILE* log = std::fopen(std::getenv("OMBRA_SWAP_LOG"), "w")) {
            std::fprintf(log, "%ld %.6f\n", count,
                         std::chrono::duration<double>(last - first).count());
            std::fclose(log);
        }
    }
} swaps;

extern "C" void glutSwapBuffers() {
    reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "glutSwapBuffers"))();
    swaps.last = std::chrono::steady_clock::now();
    swaps.first = swaps.count++ == 0 ? swaps.last : swaps.first;
}
