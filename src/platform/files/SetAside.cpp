// SetAside: the first free ".damaged" name, then one rename.
#include "platform/files/SetAside.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/files/FileSystem.h"

namespace platform {

namespace {

// Damaged copies kept of one file before the oldest name is reused.
constexpr int kMaxCopies = 99;

}  // namespace

std::string SetAside(const std::string& path, std::string* error) {
    std::string target = path + ".damaged";
    for (int n = 2; n <= kMaxCopies && PathExists(target); ++n)
        target = path + ".damaged-" + std::to_string(n);
    if (std::rename(path.c_str(), target.c_str()) == 0) return target;
    if (error) *error = "cannot move " + path + " to " + target + ": " + std::strerror(errno);
    return {};
}

}  // namespace platform
