// The audio module's descriptors in the browser: files in Emscripten's in-memory file system,
// where the page puts a soundtrack it fetched or was given.
#include "audio/platform_files.h"

#include <fcntl.h>

int openInputFile(const char* path) {
    return ::open(path, O_RDONLY);
}

int openNullDevice() {
    return ::open("/dev/null", O_WRONLY);
}
