// Locking an output folder with flock on POSIX systems.
#include "tools/capture/folder_lock.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderLock::FolderLock(const std::string& folder)
    : held(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    const int descriptor = static_cast<int>(held);
    if (descriptor < 0) {
        throw std::runtime_error("cannot write into " + folder + ": " + std::strerror(errno));
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(descriptor);
        throw std::runtime_error(error == EWOULDBLOCK
                                     ? "another render is writing into " + folder +
                                           ": wait for it or choose another --out"
                                     : "cannot lock " + folder + ": " + std::strerror(error));
    }
}

FolderLock::~FolderLock() {
    close(static_cast<int>(held));
}
