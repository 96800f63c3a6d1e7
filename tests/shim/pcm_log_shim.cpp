// Preloaded into the demo: appends the samples of every buffer it hands OpenAL to the file that
// OMBRA_PCM_LOG names, so that a test reads exactly what the sound output was given.
#include <cstdio>
#include <cstdlib>

#include <dlfcn.h>

extern "C" void alBufferData(unsigned buffer, int format, const void* data, int size, int rate) {
    static std::FILE* const log = std::fopen(std::getenv("OMBRA_PCM_LOG"), "wb");
    if (log && size > 0) {
        std::fwrite(data, 1, static_cast<std::size_t>(size), log);
        std::fflush(log);
    }
    using Real = void (*)(unsigned, int, const void*, int, int);
    reinterpret_cast<Real>(dlsym(RTLD_NEXT, "alBufferData"))(buffer, format, data, size, rate);
}
