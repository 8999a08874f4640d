// AtomicFile: temporary file beside the target, write, fsync, close, rename, fsync the folder.
#include "platform/files/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

AtomicWriteHook g_hook = nullptr;

// Runs the test hook for a step; false (with errno EIO) when it asks the step to fail.
bool StepAllowed(const char* step) {
    if (g_hook == nullptr || g_hook(step)) return true;
    errno = EIO;
    return false;
}

// "cannot write PATH: STEP: reason" from errno.
std::string Failure(const std::string& path, const char* step) {
    return "cannot write " + path + ": " + step + ": " + std::strerror(errno);
}

// The folder that holds path, "." for a bare file name.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Writes every byte, going on after short writes and interruptions.
bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename itself durable; a folder that cannot be synced is not an error.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                         unsigned mode) {
    // The process id keeps two running copies of the game from sharing a temporary file.
    const std::string temp = path + "." + std::to_string(::getpid()) + ".tmp";
    int fd = -1;
    if (StepAllowed("create"))
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW,
                    static_cast<mode_t>(mode));
    if (fd < 0) {
        if (error) *error = Failure(path, "create");
        return false;
    }
    const char* failed = nullptr;
    if (!StepAllowed("write") || !WriteAll(fd, bytes))
        failed = "write";
    else if (!StepAllowed("sync") || ::fsync(fd) != 0)
        failed = "sync";
    if (failed != nullptr) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        errno = saved;
        if (error) *error = Failure(path, failed);
        return false;
    }
    const bool closeAllowed = StepAllowed("close");
    const int closeErrno = errno;
    if (::close(fd) != 0 || !closeAllowed) {
        if (!closeAllowed) errno = closeErrno;
        failed = "close";
    }
    if (failed == nullptr && (!StepAllowed("rename") || ::rename(temp.c_str(), path.c_str()) != 0))
        failed = "rename";
    if (failed != nullptr) {
        const int saved = errno;
        ::unlink(temp.c_str());
        errno = saved;
        if (error) *error = Failure(path, failed);
        return false;
    }
    SyncFolder(FolderOf(path));
    return true;
}

void SetAtomicWriteHookForTesting(AtomicWriteHook hook) { g_hook = hook; }

}  // namespace platform
