// PackName: the pack an imported song belongs to, from where it was found: the archive or
// folder that was named (on the command line, or dropped on the window), or, when the named
// folder holds pack folders, the pack folder the song was found in.
// Depends on: std::filesystem.
#pragma once

#include <filesystem>
#include <string>

namespace importer {

// named: the path named; archive: the archive the song was unpacked from (empty when none);
// songFolder: the folder of the song's files (ignored for a song from an archive).
//  - an archive named: its name without the extension;
//  - a song folder (or a file in it), a pack folder of songs or archives: that folder's name;
//  - a folder of pack folders: the name of the folder that holds the song (or its archive).
std::wstring PackName(const std::filesystem::path& named, const std::filesystem::path& archive,
                      const std::filesystem::path& songFolder);

}  // namespace importer
