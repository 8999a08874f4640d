// FileSystem: whole-file reads, existence tests and folder creation through POSIX calls.
#include "platform/files/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

ReadResult ReadWholeFile(const std::string& path, std::string* bytes, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return ReadResult::kMissing;
        if (error) *error = "cannot open " + path + ": " + std::strerror(errno);
        return ReadResult::kFailed;
    }
    bytes->clear();
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            if (error) *error = "cannot read " + path + ": " + std::strerror(errno);
            ::close(fd);
            return ReadResult::kFailed;
        }
        bytes->append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return ReadResult::kOk;
}

bool PathExists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

bool EnsureFolder(const std::string& path, std::string* error) {
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) {
        struct stat info;
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return true;
        errno = ENOTDIR;
    }
    if (error) *error = "cannot make folder " + path + ": " + std::strerror(errno);
    return false;
}

bool EnsurePrivateFolder(const std::string& folder, std::string* error) {
    struct stat info;
    if ((::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) ||
        ::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        if (errno == EEXIST) errno = ENOTDIR;
        if (error) *error = "cannot make folder " + folder + ": " + std::strerror(errno);
        return false;
    }
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), info.st_mode & 0700) != 0) {
        if (error) *error = "cannot make " + folder + " private: " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace platform
