// SoundFile: whole reads of small files, images without the samples of large ones, and the
// reads of samples while they play, which check that the file is still the one opened.
// Depends on: media/SoundFile.h, media/SystemError.h, POSIX file calls.
#include "media/SoundFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "media/SystemError.h"

namespace DirectX {
namespace {

constexpr size_t kMinFileBytes = 34;

// The samples of a RIFF file: the payload of the first "data" chunk among the sub-chunks of a
// "RIFF" chunk at the file's start, walked as the reader walks them.
struct SampleRange {
    uint64_t begin = 0;
    uint64_t end = 0;
};

// Little-endian 32-bit value at p.
uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Reads exactly n bytes at offset; errno is set when it returns false on a failed read, and
// left 0 when the file simply ended.
bool ReadExactly(int fd, uint64_t offset, size_t n, uint8_t* out) {
    size_t done = 0;
    while (done < n) {
        ssize_t got = ::pread(fd, out + done, n - done, off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got == 0) errno = 0;
            return false;
        }
        done += size_t(got);
    }
    return true;
}

// Finds the samples by reading chunk headers only; false when the file is not laid out so
// (it is then read whole, and the reader reports what is wrong with it).
bool FindSamples(int fd, uint64_t size, SampleRange& out) {
    uint8_t header[12];
    if (!ReadExactly(fd, 0, 12, header) || std::memcmp(header, "RIFF", 4) != 0) return false;
    uint64_t end = std::min<uint64_t>(8 + uint64_t(Read32(header + 4)), size);
    for (uint64_t pos = 12; pos < end && end - pos >= 9;) {
        if (!ReadExactly(fd, pos, 8, header)) return false;
        uint64_t bytes = Read32(header + 4);
        if (std::memcmp(header, "data", 4) == 0) {
            out = {pos + 8, std::min(pos + 8 + bytes, size)};
            return true;
        }
        pos += 8 + bytes;
    }
    return false;
}

// The modification time of a stat record, in nanoseconds.
int64_t ModifiedOf(const struct stat& st) {
    return int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// Opens path for reading and checks its size against the reader's limits.
HRESULT OpenSized(const std::string& path, int& fd, struct stat& st, int* systemError) {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (systemError) *systemError = errno;
        return HresultFromOpenErrno(errno, path);
    }
    // A folder opens but cannot be read: the platform calls that access denied.
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        fd = -1;
        if (systemError) *systemError = error;
        return HresultFromErrno(error);
    }
    if (uint64_t(st.st_size) >= (uint64_t(1) << 32) || size_t(st.st_size) < kMinFileBytes) {
        ::close(fd);
        fd = -1;
        return kFail;
    }
    return kOk;
}

// The result of a read that stopped short: the system's error, or a file that ended early.
HRESULT ReadFailure(int* systemError) {
    if (errno == 0) return kFail;
    if (systemError) *systemError = errno;
    return HresultFromErrno(errno);
}

}  // namespace

HRESULT SoundFile::Open(const std::string& path, std::shared_ptr<SoundFile>& out,
                        int* systemError) {
    out.reset();
    int fd = -1;
    struct stat st {};
    if (HRESULT hr = OpenSized(path, fd, st, systemError); Failed(hr)) return hr;
    std::shared_ptr<SoundFile> file(new SoundFile());
    file->size_ = size_t(st.st_size);
    file->modified_ = ModifiedOf(st);
    SampleRange samples;
    bool large = file->size_ > kWholeReadBytes && FindSamples(fd, file->size_, samples);
    if (!large) samples = {file->size_, file->size_};
    // A large file's image is anonymous memory: the pages of its samples are never touched.
    if (large) {
        void* image = ::mmap(nullptr, file->size_, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (image != MAP_FAILED) file->data_ = static_cast<uint8_t*>(image), file->mapped_ = true;
    } else {
        file->data_ = new (std::nothrow) uint8_t[file->size_];
    }
    if (!file->data_) {
        ::close(fd);
        return kOutOfMemory;
    }
    bool read =
        ReadExactly(fd, 0, size_t(samples.begin), file->data_) &&
        ReadExactly(fd, samples.end, size_t(file->size_ - samples.end), file->data_ + samples.end);
    if (!read) {
        HRESULT hr = ReadFailure(systemError);
        ::close(fd);
        return hr;
    }
    if (large) {
        file->fd_ = fd;
    } else {
        ::close(fd);
    }
    out = std::move(file);
    return kOk;
}

SoundFile::~SoundFile() {
    if (fd_ >= 0) ::close(fd_);
    if (mapped_) {
        ::munmap(data_, size_);
    } else {
        delete[] data_;
    }
}

bool SoundFile::ReadAt(uint64_t offset, size_t n, uint8_t* out, std::string* why) const {
    if (fd_ < 0) {
        if (offset > size_ || n > size_ - offset) return *why = "read past the end", false;
        std::memcpy(out, data_ + offset, n);
        return true;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return *why = SystemErrorText(errno), false;
    if (size_t(st.st_size) != size_ || ModifiedOf(st) != modified_) {
        *why = size_t(st.st_size) < size_ ? "the file was cut short while it played"
                                          : "the file was rewritten while it played";
        return false;
    }
    if (!ReadExactly(fd_, offset, n, out)) {
        *why = errno != 0 ? SystemErrorText(errno) : "the file was cut short while it played";
        return false;
    }
    return true;
}

HRESULT ReadWholeFile(const std::string& path, std::unique_ptr<uint8_t[]>& data, size_t& bytes,
                      int* systemError) {
    data.reset();
    bytes = 0;
    int fd = -1;
    struct stat st {};
    if (HRESULT hr = OpenSized(path, fd, st, systemError); Failed(hr)) return hr;
    HRESULT hr = kOk;
    data.reset(new (std::nothrow) uint8_t[size_t(st.st_size)]);
    if (!data) {
        hr = kOutOfMemory;
    } else {
        bytes = size_t(st.st_size);
        if (!ReadExactly(fd, 0, bytes, data.get())) hr = ReadFailure(systemError);
    }
    ::close(fd);
    return hr;
}

}  // namespace DirectX
