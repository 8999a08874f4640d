// AtomicFile: replaces a file so that a crash, a power cut or a full disk leaves either the
// old file or the new one whole, never a torn one. The bytes go to a temporary file in the
// same folder, which is flushed to the disk and then renamed over the old file.
// Depends on: POSIX file calls (open, write, fsync, rename).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Writes bytes to path (UTF-8 on the file system) atomically. On failure the old file is
// untouched, the temporary file is removed, and error says which step failed and why. The new
// file gets at most mode (less what the umask takes); since it is a new file, a private mode
// also tightens an old file that was more open.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                         unsigned mode = 0666);

// Test seam: called before each step ("create", "write", "sync", "close", "rename") with the
// step's name; returning false makes that step fail as an input/output error. Tests also use
// it to end the process in the middle of a write. nullptr (the default) turns it off.
using AtomicWriteHook = bool (*)(const char* step);
void SetAtomicWriteHookForTesting(AtomicWriteHook hook);

}  // namespace platform
