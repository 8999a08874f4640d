// JacketWarmUp: the lists read and each jacket's header read at the path the selection will
// open, on the cache's thread; nothing shared with the game's thread but the copied folders.
#include "selection/JacketWarmUp.h"

#include <filesystem>

#include "platform/PngHeader.h"
#include "platform/files/ContentFiles.h"
#include "selection/MusicList.h"
#include "services/TextureStore.h"

namespace {

// A path as given when absolute, else inside base.
std::string Within(const std::string& base, const std::string& path) {
    return path.empty() || path[0] == '/' ? path : base + "/" + path;
}

// The headers that could be read, by title, with their paths as the game names them; the files
// are read inside base, the working directory when the warm-up started.
JacketCache::ReadAheads ReadHeaders(const std::string& base,
                                    const std::vector<std::string>& folders) {
    std::vector<std::string> within;
    for (const std::string& folder : folders)
        within.push_back(Within(base, folder.empty() ? "." : folder));
    JacketCache::ReadAheads read;
    for (auto& [title, folder] : ListedTitles(within)) {
        JacketCache::ReadAhead ahead;
        ahead.path = platform::ContentPathIn(folders[folder], L"Data/Texture/" + title + L".png");
        if (platform::ReadPngHeader(Within(base, ahead.path), &ahead.header, nullptr))
            read.emplace(std::move(title), std::move(ahead));
    }
    return read;
}

}  // namespace

void StartJacketWarmUp() {
    if (TextureStore::Get().jackets().warmUpStarted()) return;  // asked every title frame
    std::error_code failed;
    const std::string base = std::filesystem::current_path(failed).string();
    if (failed) return;  // no warm-up: the selection reads the headers itself
    const std::vector<std::string> folders = platform::ContentFolders();
    TextureStore::Get().jackets().StartWarmUp(
        [base, folders] { return ReadHeaders(base, folders); }, base);
}
