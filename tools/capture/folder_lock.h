// One render at a time per --out folder: two writing into one folder would tear each other's
// frames.csv rows.
#pragma once

#include <string>

class FolderLock {
  public:
    // Takes the folder's lock, or throws std::runtime_error saying another render holds it. The
    // lock is the kernel's own (flock on the folder), so it goes with the process however that
    // ends and leaves no file behind.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int descriptor = -1;
};
