// FolderMirror: a recursive walk with lstat that makes folders, links and hard links, and the
// swap by renameat2 with RENAME_EXCHANGE.
#include "platform/files/FolderMirror.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/files/SongFolder.h"

namespace platform {

namespace {

bool g_exchangeUnsupported = false;

// "what path: reason" from errno.
std::string Failure(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

// True for the errors that say the file system cannot hold a tree of hard links here.
bool LinksUnsupported(int error) {
    return error == EPERM || error == EXDEV || error == EMLINK || error == ENOTSUP ||
           error == EOPNOTSUPP || error == EACCES;
}

// The names in a folder; false when it cannot be listed.
bool Names(const std::string& folder, std::vector<std::string>& names) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return false;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return true;
}

// Mirrors the folder at from (relative path rel below the top) into the new folder to.
bool MirrorFolder(const std::string& from, const std::string& to, const std::string& rel,
                  const MirrorSkip& skip, bool* unsupported, std::string* error) {
    struct stat info;
    if (::lstat(from.c_str(), &info) != 0 || ::mkdir(to.c_str(), info.st_mode & 07777) != 0) {
        *error = Failure("cannot mirror the folder", from);
        return false;
    }
    std::vector<std::string> names;
    if (!Names(from, names)) {
        *error = Failure("cannot list", from);
        return false;
    }
    for (const std::string& name : names) {
        const std::string source = from + "/" + name, target = to + "/" + name;
        const std::string relative = rel.empty() ? name : rel + "/" + name;
        if (skip && skip(relative)) continue;
        if (::lstat(source.c_str(), &info) != 0) {
            *error = Failure("cannot read", source);
            return false;
        }
        if (S_ISDIR(info.st_mode)) {
            if (!MirrorFolder(source, target, relative, skip, unsupported, error)) return false;
        } else if (S_ISLNK(info.st_mode)) {
            std::vector<char> buffer(static_cast<size_t>(info.st_size) + 1);
            const ssize_t n = ::readlink(source.c_str(), buffer.data(), buffer.size());
            if (n < 0 || ::symlink(std::string(buffer.data(), static_cast<size_t>(n)).c_str(),
                                   target.c_str()) != 0) {
                *error = Failure("cannot mirror the link", source);
                return false;
            }
        } else if (::link(source.c_str(), target.c_str()) != 0) {
            *unsupported = LinksUnsupported(errno);
            *error = Failure("cannot link", source);
            return false;
        }
    }
    return true;
}

}  // namespace

bool MirrorByLinks(const std::string& from, const std::string& to, const MirrorSkip& skip,
                   bool* unsupported, std::string* error) {
    *unsupported = false;
    return MirrorFolder(from, to, "", skip, unsupported, error);
}

bool ExchangeFolders(const std::string& a, const std::string& b, bool* unsupported,
                     std::string* error) {
    *unsupported = false;
    int result = -1;
    if (g_exchangeUnsupported)
        errno = EINVAL;
    else
        result = RenamePaths(a, b, RENAME_EXCHANGE);
    if (result == 0) return true;
    *unsupported = errno == EINVAL || errno == ENOSYS || errno == EXDEV;
    *error = Failure("cannot swap", a) + " (with " + b + ")";
    return false;
}

void SetExchangeUnsupportedForTesting(bool unsupported) { g_exchangeUnsupported = unsupported; }

}  // namespace platform
