// One render at a time per --out folder: two writing into one folder would tear each other's
// frames.csv rows.
#pragma once

#include <cstdint>
#include <string>

class FolderLock {
  public:
    // Takes the folder's lock, or throws std::runtime_error saying another render holds it. The
    // lock goes with the process however that ends: on POSIX systems the kernel's own (flock on
    // the folder), leaving no file behind; on Windows a lock file of the folder's, opened for this
    // process alone and deleted by the system as the process lets it go.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    std::intptr_t held = -1; // a descriptor, or a Windows handle
};
