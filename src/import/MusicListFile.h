// MusicListFile: the music list "Data/Music/0.nld" as the importer changes it: read with the
// game's own reader (a damaged list stops the import before anything is written), one entry
// replaced or added, and written back atomically in code page 932. Entries the import does not
// touch keep their bytes.
// Depends on: selection/MusicList.h, platform/Codepage.h, platform/files/AtomicFile.h,
// platform/files/FileSystem.h.
#pragma once

#include <string>
#include <vector>

#include "selection/MusicList.h"

namespace importer {

class MusicListFile {
  public:
    // Reads the list at path; a missing file is an empty list. False with "path:line: message"
    // in error when the list cannot be read as the game reads it.
    bool Load(const std::string& path, std::string& error);
    const std::vector<MusicEntry>& entries() const { return entries_; }
    // Replaces the entry at index, or adds one at the end when index is entries().size().
    // False when the entry cannot be written in code page 932.
    bool Put(size_t index, const MusicEntry& entry);
    // Writes the list back atomically; false with the reason in error.
    bool Save(std::string& error) const;
    // The list's bytes as Save writes them.
    std::string Bytes() const;

  private:
    std::string path_;
    std::vector<MusicEntry> entries_;
    std::vector<std::string> lines_;  // the bytes of each entry's line, without its line feed
};

// One entry's line in code page 932 ("Title[1:2:3]Credit", no line feed); false when a
// character cannot be written.
bool FormatEntryLine(const MusicEntry& entry, std::string& line);

}  // namespace importer
