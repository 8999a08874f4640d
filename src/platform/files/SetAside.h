// SetAside: moves a damaged file of ours out of the way, so that the next write cannot lose
// what is left in it and the player can still look at it: "NAME" becomes "NAME.damaged", or
// "NAME.damaged-2", "NAME.damaged-3"... when earlier ones are kept there.
// Depends on: POSIX rename.
#pragma once

#include <string>

namespace platform {

// Renames path to its first free ".damaged" name; that name, or empty with the reason in error
// when the file could not be moved.
std::string SetAside(const std::string& path, std::string* error);

}  // namespace platform
