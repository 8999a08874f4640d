// PacksFile: which pack each imported song came from and when it was added, in a file of the
// importer's own beside the music list, "Data/Music/packs.txt" (the list's format is fixed).
// UTF-8 text, one song a line, the title last since it may hold anything but a line break:
//     # Lyrandel packs: ADDED <tab> PACK <tab> TITLE
//     1765200000	Autumn Pack	Falling Leaves
// ADDED is seconds since 1970. A later line of the same title wins. Songs without a line
// belong to kOtherPack; songs of the bundled content to kBundledPack.
// Depends on: platform/files (atomic writes, content folders, setting aside), platform/Codepage.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "selection/MusicList.h"

// The file's name, beside the music list, and its path relative to a content folder.
inline constexpr const char* kPacksFileName = "packs.txt";
inline constexpr const char* kPacksPath = "Data/Music/packs.txt";
inline constexpr const wchar_t* kPacksContentPath = L"Data/Music/packs.txt";
// The pack of songs nobody recorded one for, and that of the game's own songs.
inline constexpr const wchar_t* kOtherPack = L"Other";
inline constexpr const wchar_t* kBundledPack = L"Bundled";

struct PackRecord {
    std::wstring pack;
    int64_t added = 0;  // seconds since 1970; 0 when not known
};
using PackRecords = std::unordered_map<std::wstring, PackRecord>;

// Reads the file's text into records; the numbers of lines that are no record go to bad.
void ParsePacks(std::string_view text, PackRecords& records, std::vector<int>& bad);
// The file's text for records, titles in order.
std::string FormatPacks(const PackRecords& records);
// A pack name as the file can keep it: line breaks, tabs and control characters become
// blanks, blanks at the ends go; an empty name is kOtherPack.
std::wstring CleanPackName(std::wstring_view name);

// The pack of each entry (parallel to entries): the record in the packs file of the content
// folder that holds the song, else kBundledPack for the bundled content's songs (the last of
// two or more folders) and kOtherPack for the rest. A packs file with bad lines is named once
// on stderr with them left out.
std::vector<PackRecord> PacksOfEntries(const std::vector<MusicEntry>& entries);

// The importer's side: the packs file of one data folder, read once, a record added for each
// song put in place and the file rewritten atomically each time (as the music list is).
class PacksWriter {
  public:
    // Reads the file beside the music list in musicFolder (the folder the list is in, whatever
    // the letter case of its name). A file with bad lines is set aside (its good lines are kept and
    // written back with the next song); notice then says so. False with the reason in error
    // when the file cannot be read.
    bool Open(const std::string& musicFolder, std::string& notice, std::string& error);
    // Records title as added now from pack and writes the file; false with the reason.
    bool Record(const std::wstring& title, const std::wstring& pack, std::string& error);

  private:
    std::string path_;
    PackRecords records_;
};
