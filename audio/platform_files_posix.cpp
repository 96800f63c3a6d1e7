// The audio module's descriptors on POSIX systems.
#include "audio/platform_files.h"

#include <fcntl.h>

int openInputFile(const char* path) {
    // O_NONBLOCK: opening a named pipe must not wait for a writer; regular files ignore it.
    return ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

int openNullDevice() {
    return ::open("/dev/null", O_WRONLY | O_CLOEXEC);
}
