// DataLayout: where in a data folder the importer writes, found the way the game reads it. The
// game takes "Data/Music/0.nld" and "Data/Texture/TITLE.png" under their exact names first and
// under names of another letter case where those are missing ("data/music/0.nld" of content
// made on a case-blind system), so the importer adds to the list and the folders the game
// already reads instead of starting new ones beside them.
// Depends on: platform/files/ContentFiles.h (the game's lookup), std::filesystem.
#pragma once

#include <filesystem>
#include <string>

namespace importer {

struct DataLayout {
    std::filesystem::path music;     // the folder of the songs and the list
    std::filesystem::path textures;  // the folder of the jackets
    std::filesystem::path list;      // the music list file (it may not exist yet)
};

// Finds (or makes, under their usual names) the folders of the data folder dataDir. False with
// the reason in error when a folder cannot be made.
bool FindDataLayout(const std::filesystem::path& dataDir, DataLayout& layout, std::string& error);

// The music list the game reads in a content folder: the exact name, else one differing in
// letter case; empty when there is none.
std::filesystem::path FindMusicList(const std::filesystem::path& folder);

}  // namespace importer
