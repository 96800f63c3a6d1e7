// The audio module's descriptors on Windows, through the C runtime.
#include "audio/platform_files.h"

#include <fcntl.h>
#include <io.h>

int openInputFile(const char* path) {
    // Binary: in text mode the C runtime takes the first 0x1A byte for the end of the file.
    return ::_open(path, _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int openNullDevice() {
    return ::_open("NUL", _O_WRONLY | _O_BINARY | _O_NOINHERIT);
}
