// SetAside: the first free "NAME.damaged[.N]" and the rename.
#include "platform/files/SetAside.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/files/FileSystem.h"

namespace platform {

namespace {
// Enough numbered names for any folder a player keeps; beyond them the file stays.
constexpr int kMaxAsideNames = 100;
}  // namespace

bool SetFileAside(const std::string& path, std::string* aside, std::string* error) {
    for (int n = 1; n <= kMaxAsideNames; ++n) {
        const std::string name = path + ".damaged" + (n == 1 ? "" : "." + std::to_string(n));
        if (PathExists(name)) continue;
        if (std::rename(path.c_str(), name.c_str()) != 0) {
            if (error) *error = "cannot set " + path + " aside: " + std::strerror(errno);
            return false;
        }
        if (aside) *aside = name;
        return true;
    }
    if (error) *error = "cannot set " + path + " aside: too many damaged copies beside it";
    return false;
}

}  // namespace platform
