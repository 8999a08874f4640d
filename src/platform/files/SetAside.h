// SetAside: moves a damaged file of ours out of the game's way without losing it: "NAME" becomes
// "NAME.damaged" ("NAME.damaged.2" and so on when that is taken), so the player can look at it
// and the game starts afresh.
// Depends on: POSIX rename.
#pragma once

#include <string>

namespace platform {

// Renames path beside itself; the new path goes into aside. False with the reason in error.
bool SetFileAside(const std::string& path, std::string* aside, std::string* error);

}  // namespace platform
