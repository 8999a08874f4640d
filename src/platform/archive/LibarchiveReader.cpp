// ArchiveReader on libarchive: libarchive only reads; folders and files are made here, each
// file created new (never through a link, never over an existing file) and cut off at the
// size limit while it is written.
// Depends on: platform/ArchiveReader.h, libarchive, POSIX file calls.
#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/ArchiveReader.h"

namespace platform {

namespace {

// How one entry went.
enum class EntryResult { kWritten, kRefused, kTotalPassed, kArchiveBroken };

// Makes every folder of relative (a cleaned path) below root; false when one cannot be made.
bool MakeParents(const std::string& root, const std::string& relative) {
    for (size_t slash = relative.find('/'); slash != std::string::npos;
         slash = relative.find('/', slash + 1)) {
        const std::string folder = root + "/" + relative.substr(0, slash);
        struct stat info;
        if (::lstat(folder.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) return false;
            continue;
        }
        if (::mkdir(folder.c_str(), 0755) != 0) return false;
    }
    return true;
}

// Writes all of bytes at offset; false on a write error.
bool WriteAt(int fd, const char* bytes, size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, bytes, size, offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

// Copies the current entry's data into a new file, never past the entry limit or the total
// limit (whatever size the entry claimed); why it failed goes to reason.
EntryResult WriteEntry(archive* reader, const std::string& target, const ArchiveLimits& limits,
                       uint64_t* total, std::string* reason) {
    const int fd =
        ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        *reason = errno == EEXIST ? "a second entry of that name" : std::strerror(errno);
        return EntryResult::kRefused;
    }
    EntryResult result = EntryResult::kWritten;
    const void* block;
    size_t size;
    la_int64_t offset;
    while (true) {
        const int r = archive_read_data_block(reader, &block, &size, &offset);
        if (r == ARCHIVE_EOF) break;
        if (r < ARCHIVE_WARN) {
            const char* why = archive_error_string(reader);
            *reason = why ? why : "damaged entry";
            result = r == ARCHIVE_FATAL ? EntryResult::kArchiveBroken : EntryResult::kRefused;
            break;
        }
        if (offset < 0 || size > limits.maxEntryBytes ||
            static_cast<uint64_t>(offset) > limits.maxEntryBytes - size) {
            *reason = "larger than the limit";
            result = EntryResult::kRefused;
            break;
        }
        if (*total + size > limits.maxTotalBytes) {
            *reason = "the archive unpacks to more than the limit";
            result = EntryResult::kTotalPassed;
            break;
        }
        // Sparse entries leave holes, which read back as zeros.
        if (!WriteAt(fd, static_cast<const char*>(block), size, static_cast<off_t>(offset))) {
            *reason = std::string("cannot write: ") + std::strerror(errno);
            result = EntryResult::kRefused;
            break;
        }
        *total += size;
    }
    ::close(fd);
    if (result != EntryResult::kWritten) ::unlink(target.c_str());
    return result;
}

// Why an entry is not a plain file we may write, or empty when it is.
std::string KindProblem(archive_entry* entry, uint64_t limit) {
    if (archive_entry_hardlink(entry) != nullptr || archive_entry_symlink(entry) != nullptr)
        return "a link";
    if (archive_entry_filetype(entry) != AE_IFREG) return "not a plain file";
    if (archive_entry_size_is_set(entry) &&
        static_cast<uint64_t>(archive_entry_size(entry)) > limit)
        return "larger than the limit";
    return {};
}

// The entry's name in UTF-8 where the archive says so, else its raw bytes.
std::string EntryName(archive_entry* entry) {
    if (const char* utf8 = archive_entry_pathname_utf8(entry)) return utf8;
    if (const char* raw = archive_entry_pathname(entry)) return raw;
    return {};
}

}  // namespace

std::string CleanArchivePath(const std::string& name) {
    std::string path = name;
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.empty() || path[0] == '/' || (path.size() >= 2 && path[1] == ':')) return {};
    std::string clean;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") return {};
        if (part.find('\0') != std::string::npos) return {};
        if (!part.empty() && part != ".") clean += (clean.empty() ? "" : "/") + part;
        start = end + 1;
    }
    return clean;
}

bool ExtractArchive(const std::string& path, const std::string& folder,
                    const ArchiveEntryFilter& want, const ArchiveLimits& limits,
                    ArchiveReport* report, std::string* error) {
    archive* reader = archive_read_new();
    archive_read_support_format_zip(reader);
    if (archive_read_open_filename(reader, path.c_str(), 64 * 1024) != ARCHIVE_OK) {
        if (error)
            *error = std::string("not a readable ZIP archive: ") +
                     (archive_error_string(reader) ? archive_error_string(reader) : "?");
        archive_read_free(reader);
        return false;
    }
    bool ok = true;
    uint64_t total = 0, seen = 0;
    archive_entry* entry;
    while (ok) {
        const int r = archive_read_next_header(reader, &entry);
        if (r == ARCHIVE_EOF) break;
        if (r < ARCHIVE_WARN || ++seen > limits.maxEntries) {
            if (error)
                *error = seen > limits.maxEntries       ? "too many entries"
                         : archive_error_string(reader) ? archive_error_string(reader)
                                                        : "damaged archive";
            ok = false;
            break;
        }
        // Folders are made as their files need them.
        if (archive_entry_filetype(entry) == AE_IFDIR && archive_entry_symlink(entry) == nullptr &&
            archive_entry_hardlink(entry) == nullptr)
            continue;
        const std::string name = EntryName(entry);
        const std::string clean = CleanArchivePath(name);
        // Unwanted entries are passed over whatever they are; a name that would leave the
        // folder is refused whatever it names.
        if (!clean.empty() && !want(clean)) continue;
        std::string problem = clean.empty() ? "an absolute path, \"..\" or no name"
                                            : KindProblem(entry, limits.maxEntryBytes);
        if (problem.empty() && !MakeParents(folder, clean)) problem = "its folder cannot be made";
        if (problem.empty()) {
            const EntryResult result =
                WriteEntry(reader, folder + "/" + clean, limits, &total, &problem);
            if (result == EntryResult::kWritten) {
                ++report->filesWritten;
                continue;
            }
            if (result == EntryResult::kTotalPassed || result == EntryResult::kArchiveBroken) {
                if (error) *error = problem;
                ok = false;
            }
        }
        report->refused.push_back({name, problem});
    }
    archive_read_free(reader);
    return ok;
}

}  // namespace platform
