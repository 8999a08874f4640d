// ArchiveReader: unpacks the files of a ZIP archive (.zip, .osz) into a folder of ours without
// ever writing outside it: entries with absolute paths, "..", links or devices are refused, and
// so are entries larger than the limit, whatever size they claim.
// Implementation: libarchive (platform/archive); the files are written by our own calls.
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

struct ArchiveLimits {
    uint64_t maxEntryBytes = 1ull << 30;  // one file
    uint64_t maxTotalBytes = 8ull << 30;  // everything unpacked
    uint64_t maxEntries = 100000;         // entries looked at
};

// An entry that was not unpacked, and why.
struct RefusedEntry {
    std::string name;
    std::string reason;
};

struct ArchiveReport {
    int filesWritten = 0;
    std::vector<RefusedEntry> refused;
};

// Says whether an entry (its cleaned relative path, "/" separated) is worth unpacking.
using ArchiveEntryFilter = std::function<bool(const std::string& relativePath)>;

// Unpacks the regular files of the archive at path that want accepts into folder (an existing
// folder that nothing else writes to). False with the reason in error when the archive cannot
// be read at all or a limit of the whole archive is passed; refused entries are listed in
// report and do not fail the rest.
bool ExtractArchive(const std::string& path, const std::string& folder,
                    const ArchiveEntryFilter& want, const ArchiveLimits& limits,
                    ArchiveReport* report, std::string* error);

// The cleaned relative path of an entry name ("\" read as "/", "." parts dropped), or empty
// when the name is absolute, holds "..", or names nothing.
std::string CleanArchivePath(const std::string& name);

}  // namespace platform
