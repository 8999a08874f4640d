// PacksFile: the line format, the lookup per content folder and the importer's writer.
#include "selection/PacksFile.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "platform/Codepage.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/ContentFiles.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SetAside.h"
#include "settings/RecordLines.h"

namespace {

constexpr const char* kHeader = "# Lyrandel packs: ADDED <tab> PACK <tab> TITLE\n";
const std::wstring kMusicFolder = L"Data/Music/";

// Reads one line "ADDED\tPACK\tTITLE" into records; false when it is no record.
bool ParseLine(std::string_view line, PackRecords& records) {
    std::string_view fields[3];
    int64_t added = 0;
    if (!SplitRecord(line, fields, 3) || !ReadDigits(fields[0], added)) return false;
    const std::wstring pack = platform::Utf8ToWide(fields[1]);
    const std::wstring title = platform::Utf8ToWide(fields[2]);
    if (title.empty() || pack.empty() || CleanPackName(pack) != pack) return false;
    records[title] = {pack, added};
    return true;
}

// The path of the packs file in one content folder, found the way the music list beside it is
// (a name of another letter case where the usual one is missing); empty when there is none.
std::string PathIn(const std::string& folder) {
    return platform::FindInFolder(folder, kPacksContentPath).path;
}

// Reads one folder's file; a missing one holds nothing. Bad lines are reported.
PackRecords ReadFolderPacks(const std::string& folder) {
    PackRecords records;
    std::string bytes, error;
    const std::string path = PathIn(folder);
    if (path.empty()) return records;
    switch (platform::ReadWholeFile(path, &bytes, &error)) {
        case platform::ReadResult::kMissing:
            return records;
        case platform::ReadResult::kFailed:
            std::fprintf(stderr, "lyrandel: %s (songs shown in the pack \"Other\")\n",
                         error.c_str());
            return records;
        case platform::ReadResult::kOk:
            break;
    }
    std::vector<int> bad;
    ParsePacks(bytes, records, bad);
    if (!bad.empty())
        std::fprintf(stderr, "lyrandel: %s:%d: not a pack record (%zu such lines left out)\n",
                     path.c_str(), bad.front(), bad.size());
    return records;
}

}  // namespace

void ParsePacks(std::string_view text, PackRecords& records, std::vector<int>& bad) {
    ReadRecordLines(
        text, [&](std::string_view line) { return ParseLine(line, records); }, bad);
}

std::string FormatPacks(const PackRecords& records) {
    std::vector<const PackRecords::value_type*> sorted;
    for (const auto& record : records) sorted.push_back(&record);
    std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->first < b->first; });
    std::string text = kHeader;
    for (const auto* record : sorted)
        text += std::to_string(record->second.added) + "\t" +
                platform::WideToUtf8(record->second.pack) + "\t" +
                platform::WideToUtf8(record->first) + "\n";
    return text;
}

std::wstring CleanPackName(std::wstring_view name) {
    std::wstring clean(name);
    for (wchar_t& c : clean)
        if (c < 0x20 || c == 0x7F) c = L' ';
    const size_t first = clean.find_first_not_of(L' ');
    if (first == std::wstring::npos) return kOtherPack;
    return clean.substr(first, clean.find_last_not_of(L' ') - first + 1);
}

std::vector<PackRecord> PacksOfEntries(const std::vector<MusicEntry>& entries) {
    const std::vector<std::string>& folders = platform::ContentFolders();
    std::vector<PackRecords> perFolder;
    for (const std::string& folder : folders) perFolder.push_back(ReadFolderPacks(folder));
    std::vector<PackRecord> packs;
    packs.reserve(entries.size());
    const bool one = folders.size() == 1;
    for (const MusicEntry& entry : entries) {
        long folder = one ? 0 : platform::PinnedContentFolder(kMusicFolder + entry.title + L"/");
        if (folder < 0 || folder >= static_cast<long>(folders.size())) folder = 0;
        const PackRecords& records = perFolder[static_cast<size_t>(folder)];
        if (auto it = records.find(entry.title); it != records.end()) {
            packs.push_back(it->second);
        } else {
            const bool bundled =
                folders.size() > 1 && folder + 1 == static_cast<long>(folders.size());
            packs.push_back({bundled ? kBundledPack : kOtherPack, 0});
        }
    }
    return packs;
}

bool PacksWriter::Open(const std::string& musicFolder, std::string& notice, std::string& error) {
    path_ = musicFolder + "/" + kPacksFileName;
    records_.clear();
    std::string bytes;
    switch (platform::ReadWholeFile(path_, &bytes, &error)) {
        case platform::ReadResult::kMissing:
            return true;
        case platform::ReadResult::kFailed:
            return false;
        case platform::ReadResult::kOk:
            break;
    }
    std::vector<int> bad;
    ParsePacks(bytes, records_, bad);
    if (bad.empty()) return true;
    std::string moveError;
    std::string aside;
    platform::SetFileAside(path_, &aside, &moveError);
    notice = path_ + ":" + std::to_string(bad.front()) + ": not a pack record; " +
             (aside.empty() ? moveError : "the file was moved to " + aside) +
             " and its good lines are kept";
    return true;
}

bool PacksWriter::Record(const std::wstring& title, const std::wstring& pack, std::string& error) {
    records_[title] = {CleanPackName(pack), static_cast<int64_t>(std::time(nullptr))};
    return platform::WriteFileAtomically(path_, FormatPacks(records_), &error, 0600);
}
