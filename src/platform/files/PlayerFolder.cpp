// PlayerFolder: environment rules, private folders, the lock file and the program's location.
#include "platform/files/PlayerFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

constexpr const char* kLockName = "lyrandel.lock";

// An environment variable, or empty when unset.
std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// True when path names an existing folder.
bool IsFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder part of a path ("" for a bare name, "/" for a name in the root).
std::string Parent(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes one folder with the mode; an existing folder is fine.
bool MakeOne(const std::string& path, mode_t mode) {
    if (::mkdir(path.c_str(), mode) == 0) return true;
    if (errno == EEXIST && IsFolder(path)) return true;
    if (errno == EEXIST) errno = ENOTDIR;
    return false;
}

// Makes the folder's missing parents with the usual mode.
bool MakeParents(const std::string& path) {
    const std::string parent = Parent(path);
    if (parent.empty() || parent == "/" || IsFolder(parent)) return true;
    return MakeParents(parent) && MakeOne(parent, 0755);
}

// The folder the running program lies in, links resolved; empty when unknown.
std::string ProgramFolder() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    return Parent(std::string(buffer, static_cast<size_t>(n)));
}

}  // namespace

bool PlayerFolderPath(std::string* folder, std::string* error) {
    // A relative XDG_DATA_HOME is invalid and ignored, as the base-directory rules say.
    const std::string xdg = Env("XDG_DATA_HOME");
    if (!xdg.empty() && xdg[0] == '/') {
        *folder = xdg + "/lyrandel";
        return true;
    }
    const std::string home = Env("HOME");
    if (!home.empty()) {
        *folder = home + "/.local/share/lyrandel";
        return true;
    }
    if (error)
        *error =
            "no folder for the player's files: neither XDG_DATA_HOME nor HOME is set "
            "(set one, or give --data DIR)";
    return false;
}

bool MakePlayerFolder(const std::string& folder, std::string* error) {
    if (MakeParents(folder) && MakeOne(folder, 0700)) return true;
    if (error) *error = "cannot make the player's folder " + folder + ": " + std::strerror(errno);
    return false;
}

bool CheckPlayerFolderIsOwn(const std::string& folder, std::string* error) {
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0) {
        if (error)
            *error = "cannot read the player's folder " + folder + ": " + std::strerror(errno);
        return false;
    }
    if (info.st_uid != ::geteuid()) {
        if (error)
            *error = "the player's folder " + folder + " belongs to another user (user id " +
                     std::to_string(info.st_uid) + "); it is not used";
        return false;
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        if (error)
            *error = "the player's folder " + folder + " can be written by others (mode " + mode +
                     "); it is not used until only you can write in it (chmod go-w " + folder + ")";
        return false;
    }
    return true;
}

bool LockFolder(const std::string& folder, std::string* error) {
    const std::string path = folder + "/" + kLockName;
    // Kept open for the life of the process: the lock goes with the last descriptor.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        if (error) *error = "cannot write in " + folder + ": " + std::strerror(errno);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    const int reason = errno;
    ::close(fd);
    if (error) {
        if (reason == EWOULDBLOCK)
            *error = "another Lyrandel is already running on " + folder + " (it holds " + path +
                     "); quit it first";
        else
            *error = "cannot lock " + path + ": " + std::strerror(reason);
    }
    return false;
}

std::string BundledFolder(std::string* tried) {
    const std::string program = ProgramFolder();
    if (program.empty()) {
        if (tried) *tried = "the program's own folder (/proc/self/exe cannot be read)";
        return "";
    }
    const std::string installed = Parent(program) + "/share/lyrandel";
    if (IsFolder(installed)) return installed;
    // Run from the build folder: the generated demo content stands for the installed one.
    const std::string built = program + "/demo-content";
    if (IsFolder(built + "/Data")) return built;
    if (tried) *tried = installed;
    return "";
}

}  // namespace platform
