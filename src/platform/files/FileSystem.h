// FileSystem: the few file operations the game's readers need besides atomic writes: reading a
// whole file, testing that a file exists and making a folder. Paths are UTF-8 bytes.
// Depends on: POSIX file calls.
#pragma once

#include <string>

namespace platform {

// How reading a whole file went.
enum class ReadResult { kOk, kMissing, kFailed };

// Reads the whole file into bytes. kMissing when it does not exist; kFailed (with the reason
// in error) when it exists but cannot be read.
ReadResult ReadWholeFile(const std::string& path, std::string* bytes, std::string* error);

// True when a directory entry of that path exists (a file, a folder, a link).
bool PathExists(const std::string& path);

// Makes the folder when it is missing; false with the reason in error when it cannot.
bool EnsureFolder(const std::string& path, std::string* error);

// Makes a folder when missing and keeps it private: 0700, also tightening one found more
// open. False with "cannot make folder FOLDER: reason".
bool EnsurePrivateFolder(const std::string& folder, std::string* error);

}  // namespace platform
