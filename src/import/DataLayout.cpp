// DataLayout: the list's folder first, else a music folder of any letter case, else new folders
// under the usual names; the jackets' folder beside the music folder's parent likewise.
#include "import/DataLayout.h"

#include "platform/files/ContentFiles.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

// The folder the game finds for a relative path in dataDir, or empty.
fs::path Found(const fs::path& dataDir, const wchar_t* relative) {
    const platform::FoundFile found = platform::FindInFolder(dataDir.string(), relative);
    std::error_code code;
    if (found.path.empty() || !fs::is_directory(found.path, code)) return {};
    return found.path;
}

// Makes a folder and its parents; false with the reason.
bool MakeFolder(const fs::path& folder, std::string& error) {
    std::error_code code;
    fs::create_directories(folder, code);
    if (code || !fs::is_directory(folder)) {
        error = "cannot make the folder " + folder.string() + ": " + code.message();
        return false;
    }
    return true;
}

}  // namespace

fs::path FindMusicList(const fs::path& folder) {
    const platform::FoundFile found = platform::FindInFolder(folder.string(), L"Data/Music/0.nld");
    return found.path;
}

bool FindDataLayout(const fs::path& dataDir, DataLayout& layout, std::string& error) {
    std::error_code code;
    if (!fs::is_directory(dataDir, code)) {
        error = "the data folder " + dataDir.string() + " does not exist";
        return false;
    }
    layout.list = FindMusicList(dataDir);
    if (!layout.list.empty())
        layout.music = layout.list.parent_path();
    else if (fs::path music = Found(dataDir, L"Data/Music"); !music.empty())
        layout.music = music;
    else
        layout.music = dataDir / "Data" / "Music";
    if (layout.list.empty()) layout.list = layout.music / "0.nld";
    // Jackets go where the game finds "Data/Texture", else beside the music folder, which the
    // game's lookup reaches by letter case too.
    layout.textures = Found(dataDir, L"Data/Texture");
    if (layout.textures.empty()) layout.textures = layout.music.parent_path() / "Texture";
    return MakeFolder(layout.music, error) && MakeFolder(layout.textures, error);
}

}  // namespace importer
