// SongFolder: file copies with fsync, the folder swap by renameat2 (exchange), and flock.
#include "platform/files/SongFolder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

// "what path: reason" from errno.
std::string Failure(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

// Copies every byte of in to out; false on a read or write error.
bool CopyBytes(int in, int out) {
    char buffer[1 << 16];
    while (true) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += w;
        }
    }
}

}  // namespace

bool CopyFileSynced(const std::string& from, const std::string& to, std::string* error) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        if (error) *error = Failure("cannot read", from);
        return false;
    }
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (out < 0) {
        if (error) *error = Failure("cannot create", to);
        ::close(in);
        return false;
    }
    bool ok = CopyBytes(in, out);
    if (!ok && error) *error = Failure("cannot copy to", to);
    ::close(in);
    if (ok && ::fsync(out) != 0) {
        ok = false;
        if (error) *error = Failure("cannot flush", to);
    }
    if (::close(out) != 0 && ok) {
        ok = false;
        if (error) *error = Failure("cannot write", to);
    }
    if (!ok) ::unlink(to.c_str());
    return ok;
}

bool WriteFileSynced(const std::string& path, const std::string& bytes, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error) *error = Failure("cannot create", path);
        return false;
    }
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0)
            ok = false;
        else
            done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        if (error) *error = Failure("cannot write", path);
        ::unlink(path.c_str());
    }
    return ok;
}

bool SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    ::fsync(fd);
    ::close(fd);
    return true;
}

bool PutFolderInPlace(const std::string& staged, const std::string& target, bool* replaced,
                      std::string* error) {
    struct stat info;
    *replaced = ::lstat(target.c_str(), &info) == 0;
    if (!*replaced) {
        if (::rename(staged.c_str(), target.c_str()) == 0) return true;
        if (error) *error = Failure("cannot move the song to", target);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        if (error) *error = Failure("cannot replace", target);
        return false;
    }
    if (RenamePaths(staged, target, RENAME_EXCHANGE) == 0) return true;
    // File systems without the exchange: the old folder steps aside for a moment.
    if (errno == EINVAL || errno == ENOSYS) {
        const std::string aside = staged + ".old";
        if (::rename(target.c_str(), aside.c_str()) == 0) {
            if (::rename(staged.c_str(), target.c_str()) == 0) {
                // Should this fail, the old folder stays under the staging name's prefix and
                // the next import's clean-up removes it.
                ::rename(aside.c_str(), staged.c_str());
                return true;
            }
            const int saved = errno;
            ::rename(aside.c_str(), target.c_str());
            errno = saved;
        }
    }
    if (error) *error = Failure("cannot replace", target);
    return false;
}

int RenamePaths(const std::string& from, const std::string& to, unsigned flags) {
    return static_cast<int>(
        ::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags));
}

bool MoveToNewName(const std::string& from, const std::string& to, std::string* error) {
    int result = RenamePaths(from, to, RENAME_NOREPLACE);
    // File systems without the flag: a plain rename, after the same test.
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
        struct stat info;
        if (::lstat(to.c_str(), &info) == 0)
            errno = EEXIST;
        else
            result = ::rename(from.c_str(), to.c_str());
    }
    if (result == 0) return true;
    if (error) *error = Failure("cannot move the song's file to", to);
    return false;
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileLock::Acquire(const std::string& path, std::string* error) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        if (error) *error = Failure("cannot open the lock", path);
        return false;
    }
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        if (error) *error = Failure("cannot lock", path);
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

}  // namespace platform
