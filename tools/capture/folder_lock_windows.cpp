// Locking an output folder on Windows: a lock file in it that no other process may open while
// this one holds it, and that the system deletes once it is let go, also when the process dies.
#include "tools/capture/folder_lock.h"

#include <stdexcept>
#include <system_error>

#include <windows.h>

namespace {

constexpr const char* lockFileName = "ombra-capture.lock";

std::string windowsError(DWORD error) {
    return std::system_category().message(static_cast<int>(error));
}

} // namespace

FolderLock::FolderLock(const std::string& folder) {
    const std::string path = folder + "\\" + lockFileName;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        throw std::runtime_error(error == ERROR_SHARING_VIOLATION
                                     ? "another render is writing into " + folder +
                                           ": wait for it or choose another --out"
                                     : "cannot lock " + folder + ": " + windowsError(error));
    }
    held = reinterpret_cast<std::intptr_t>(file);
}

FolderLock::~FolderLock() {
    CloseHandle(reinterpret_cast<HANDLE>(held));
}
