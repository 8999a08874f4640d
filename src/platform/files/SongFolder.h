// SongFolder: the file operations that put a whole song in place at once: copying a file to
// disk, swapping a staged folder with the one it replaces, syncing a folder, and a lock that
// keeps two imports from writing the same data folder at once.
// Depends on: POSIX and Linux file calls (copy, fsync, renameat2, flock).
#pragma once

#include <string>

namespace platform {

// renameat2 through the system call (older C libraries lack the wrapper), with its flags
// (RENAME_EXCHANGE, RENAME_NOREPLACE): 0, or -1 with errno.
int RenamePaths(const std::string& from, const std::string& to, unsigned flags);

// Copies the file from to the new file to (never through a link, never over an existing
// file) and flushes it to the disk; false with the reason in error.
bool CopyFileSynced(const std::string& from, const std::string& to, std::string* error);

// Writes bytes to the new file path and flushes it to the disk; false with the reason in error.
bool WriteFileSynced(const std::string& path, const std::string& bytes, std::string* error);

// Flushes a file written by other means to the disk; false when it cannot be opened.
bool SyncFile(const std::string& path);

// Flushes a folder's entries (new names, renames) to the disk; false when it cannot be opened.
bool SyncFolder(const std::string& folder);

// Moves the folder staged to target in one step. When target exists, the two are swapped, so
// the old song then lies at staged for the caller to remove; replaced says so. False with the
// reason in error, leaving both where they were.
bool PutFolderInPlace(const std::string& staged, const std::string& target, bool* replaced,
                      std::string* error);

// Renames from to the name to, which must not exist yet (never replacing what appeared there
// meanwhile); false with the reason in error.
bool MoveToNewName(const std::string& from, const std::string& to, std::string* error);

// An exclusive lock on a file, held until destroyed; other holders wait for it.
class FileLock {
  public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    // Takes the lock on path (made when missing); false with the reason in error.
    bool Acquire(const std::string& path, std::string* error);

  private:
    int fd_ = -1;
};

}  // namespace platform
