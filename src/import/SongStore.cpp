// SongStore: lock file, staging names, title choice and the commit with its undo steps.
#include "import/SongStore.h"

#include <unistd.h>

#include "import/SongTitle.h"
#include "platform/Codepage.h"
#include "platform/files/FileSystem.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

// Every staging name starts so; what is left of them belongs to an interrupted import.
constexpr const char* kStagingPrefix = ".import-";
// Titles tried before giving up on " (n)".
constexpr int kMaxNumberedTitles = 999;

// Removes leftovers of interrupted imports in folder.
void ClearLeftovers(const fs::path& folder) {
    std::error_code code;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code))
        if (it->path().filename().string().rfind(kStagingPrefix, 0) == 0)
            SongStore::Discard(it->path());
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

SongStore::SongStore(fs::path dataDir)
    : data_(std::move(dataDir)),
      music_(data_ / "Data" / "Music"),
      textures_(data_ / "Data" / "Texture") {}

bool SongStore::Open(std::string& error) {
    std::error_code code;
    if (!fs::is_directory(data_, code)) {
        error = "the data folder " + data_.string() + " does not exist";
        return false;
    }
    if (!MakeFolder(music_, error) || !MakeFolder(textures_, error)) return false;
    if (!lock_.Acquire((music_ / ".import.lock").string(), &error)) return false;
    ClearLeftovers(music_);
    ClearLeftovers(textures_);
    return list_.Load((music_ / "0.nld").string(), error);
}

bool SongStore::FilesExist(const std::wstring& title) const {
    std::error_code code;
    const std::string name = platform::WideToUtf8(title);
    return fs::exists(fs::symlink_status(music_ / name, code)) ||
           fs::exists(fs::symlink_status(textures_ / (name + ".png"), code));
}

bool SongStore::ChooseTitle(const std::wstring& title, const std::wstring& credit,
                            std::wstring& chosen, size_t& listIndex) const {
    const std::vector<MusicEntry>& entries = list_.entries();
    for (int n = 1; n <= kMaxNumberedTitles; ++n) {
        const std::wstring candidate = n == 1 ? title : NumberedTitle(title, n);
        size_t found = entries.size();
        for (size_t i = 0; i < entries.size(); ++i)
            if (SameTitle(entries[i].title, candidate)) found = i;
        if (found < entries.size()) {
            // The same song imported before (title and artist alike) is replaced; a song
            // imported earlier in this run is another song of the same name.
            if (entries[found].credit == credit && !written_.count(entries[found].title)) {
                chosen = entries[found].title;
                listIndex = found;
                return true;
            }
            continue;
        }
        if (FilesExist(candidate)) continue;
        chosen = candidate;
        listIndex = entries.size();
        return true;
    }
    return false;
}

std::string SongStore::StagingName(const std::string& ending) {
    return kStagingPrefix + std::to_string(::getpid()) + "-" + std::to_string(++staged_) + ending;
}

bool SongStore::NewStaging(StagedSong& song, std::string& error) {
    const std::string name = StagingName("");
    song.folder = music_ / name;
    song.jacket = textures_ / (name + ".png");
    std::error_code code;
    if (!fs::create_directory(song.folder, code)) {
        error = "cannot make the folder " + song.folder.string() + ": " + code.message();
        return false;
    }
    return true;
}

bool SongStore::NewUnpackFolder(fs::path& folder, std::string& error) {
    folder = music_ / StagingName("-unpacked");
    std::error_code code;
    if (!fs::create_directory(folder, code)) {
        error = "cannot make the folder " + folder.string() + ": " + code.message();
        return false;
    }
    return true;
}

void SongStore::Discard(const fs::path& path) {
    std::error_code code;
    fs::remove_all(path, code);
}

bool SongStore::Commit(StagedSong& song, std::string& error) {
    const std::string name = platform::WideToUtf8(song.entry.title);
    const fs::path folder = music_ / name, jacket = textures_ / (name + ".png");
    const fs::path oldJacket = song.jacket.string() + ".old";
    std::error_code code;
    // The jacket it replaces is kept aside (a second name for the same file, or a copy where
    // the file system has no second names) until the end.
    std::string ignored;
    const bool hadJacket =
        fs::exists(jacket, code) &&
        (::link(jacket.c_str(), oldJacket.c_str()) == 0 ||
         platform::CopyFileSynced(jacket.string(), oldJacket.string(), &ignored));
    const auto restoreJacket = [&] {
        if (hadJacket)
            fs::rename(oldJacket, jacket, code);
        else
            fs::remove(jacket, code);
    };
    fs::rename(song.jacket, jacket, code);
    if (code) {
        error = "cannot put the jacket in place at " + jacket.string() + ": " + code.message();
        Discard(oldJacket);
        return false;
    }
    bool replaced = false;
    if (!platform::PutFolderInPlace(song.folder.string(), folder.string(), &replaced, &error)) {
        restoreJacket();
        return false;
    }
    MusicListFile before = list_;
    if (!list_.Put(song.listIndex, song.entry) || !list_.Save(error)) {
        if (error.empty()) error = "the title or credit cannot be written in code page 932";
        list_ = before;
        // The old song comes back, the new one goes back to staging and is removed.
        bool again = false;
        if (replaced)
            platform::PutFolderInPlace(song.folder.string(), folder.string(), &again, &ignored);
        else
            fs::rename(folder, song.folder, code);
        restoreJacket();
        return false;
    }
    written_.insert(song.entry.title);
    // What remains at the staging places is the replaced song.
    Discard(song.folder);
    Discard(oldJacket);
    platform::SyncFolder(music_.string());
    platform::SyncFolder(textures_.string());
    return true;
}

}  // namespace importer
