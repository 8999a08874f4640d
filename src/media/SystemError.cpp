// The errno table of the media layer's result codes.
// Depends on: media/SystemError.h, POSIX (stat).
#include "media/SystemError.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace DirectX {
namespace {

// One row: an errno and the platform's number for the same condition.
struct ErrorRow {
    int errnoValue;
    uint32_t platformNumber;
};

// Platform numbers: 2 file not found, 3 path not found, 4 too many open files, 5 access
// denied, 8 not enough memory, 21 device not ready, 30 read fault, 32 sharing violation, 33
// lock violation, 87 invalid parameter, 112 disk full, 206 file name too long, 223 file too
// large, 1921 name cannot be resolved (a link loop).
constexpr ErrorRow kErrorRows[] = {
    {ENOENT, 2},  {ENOTDIR, 3},     {EMFILE, 4},         {ENFILE, 4},   {EACCES, 5},
    {EPERM, 5},   {EISDIR, 5},      {EROFS, 5},          {ENOMEM, 8},   {ENXIO, 21},
    {ENODEV, 21}, {EIO, 30},        {EBUSY, 32},         {ETXTBSY, 32}, {EAGAIN, 33},
    {ENOLCK, 33}, {EDEADLK, 33},    {EINVAL, 87},        {ENOSPC, 112}, {EDQUOT, 112},
    {EFBIG, 223}, {EOVERFLOW, 223}, {ENAMETOOLONG, 206}, {ELOOP, 1921},
};

}  // namespace

uint32_t PlatformErrorNumber(int errnoValue) {
    for (const ErrorRow& row : kErrorRows)
        if (row.errnoValue == errnoValue) return row.platformNumber;
    return 0;
}

HRESULT HresultFromErrno(int errnoValue) {
    uint32_t number = PlatformErrorNumber(errnoValue);
    return number == 0 ? kFail : (0x80070000u | number);
}

HRESULT HresultFromOpenErrno(int errnoValue, const std::string& path) {
    if (errnoValue != ENOENT) return HresultFromErrno(errnoValue);
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return HresultFromErrno(ENOENT);
    struct stat st {};
    bool folder = ::stat(path.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    return HresultFromErrno(folder ? ENOENT : ENOTDIR);
}

std::string SystemErrorText(int errnoValue) {
    char buffer[256];
    // The GNU variant returns the text, which may or may not be in the buffer.
    return strerror_r(errnoValue, buffer, sizeof buffer);
}

}  // namespace DirectX
