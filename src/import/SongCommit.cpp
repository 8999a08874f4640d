// SongCommit: the three ways a staged song goes in, each ending with the music list: a new
// title under a pending note; a replacement by swapping the whole tree with a mirror that holds
// the new song and list; a replacement in place where the file system cannot swap.
#include <sys/stat.h>
#include <unistd.h>

#include "import/SongStore.h"
#include "import/SongTitle.h"
#include "platform/Codepage.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/ContentFiles.h"
#include "platform/files/FolderMirror.h"
#include "platform/files/SongFolder.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

// Renames one of the song's staged files to a new name, after the test hook.
bool Move(const char* step, const fs::path& from, const fs::path& to, std::string& error) {
    return ImportStepAllowed(step, error) &&
           platform::MoveToNewName(from.string(), to.string(), &error);
}

// Moves a file or folder back where it came from, on the way out of a failed commit.
void MoveBack(const fs::path& from, const fs::path& to) {
    std::error_code code;
    if (fs::exists(fs::symlink_status(from, code))) fs::rename(from, to, code);
}

// True when path is a folder itself, not a link to one.
bool IsRealFolder(const fs::path& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The file or folder the game reads for name in folder (any letter case), or folder/name.
fs::path OnDisk(const fs::path& folder, const std::string& name) {
    const platform::FoundFile found =
        platform::FindInFolder(folder.string(), platform::Utf8ToWide(name));
    return found.path.empty() ? folder / name : fs::path(found.path);
}

}  // namespace

bool SongStore::Commit(StagedSong& song, std::string& error) {
    MusicListFile next;
    if (!ListWith(song, next)) {
        error = "the title or credit cannot be written in code page 932";
        return false;
    }
    bool done = false;
    if (song.listIndex >= list_.entries().size()) {
        done = CommitNew(song, next, error);
    } else {
        bool unsupported = !SwapWorks();
        if (!unsupported) done = CommitBySwap(song, next, unsupported, error);
        if (!done && unsupported) {
            error.clear();
            done = CommitInPlace(song, next, error);
        }
    }
    if (done) list_ = next;
    return done;
}

bool SongStore::CommitNew(StagedSong& song, const MusicListFile& next, std::string& error) {
    const std::string name = platform::WideToUtf8(song.entry.title);
    const fs::path folder = layout_.music / name, jacket = layout_.textures / (name + ".png");
    // The note names the new files until the list does: an import stopped before the list is
    // written leaves them for the next import to remove.
    const fs::path note = layout_.music / StagingName(" pending");
    if (!ImportStepAllowed("pending note", error) ||
        !platform::WriteFileAtomically(note.string(), name, &error))
        return false;
    bool placed = Move("song in place", song.folder, folder, error);
    if (placed && !Move("jacket in place", song.jacket, jacket, error)) {
        MoveBack(folder, song.folder);
        placed = false;
    }
    platform::SyncFolder(layout_.music.string());
    platform::SyncFolder(layout_.textures.string());
    if (placed && !next.Save(error)) {
        MoveBack(folder, song.folder);
        MoveBack(jacket, song.jacket);
        placed = false;
    }
    Discard(note);
    return placed;
}

bool SongStore::SwapWorks() {
    if (swapWorks_ >= 0) return swapWorks_ == 1;
    const fs::path probe = data_ / StagingName(" probe");
    std::error_code code;
    bool unsupported = true;
    std::string ignored;
    if (fs::create_directories(probe / "a", code) && fs::create_directory(probe / "b", code))
        platform::ExchangeFolders((probe / "a").string(), (probe / "b").string(), &unsupported,
                                  &ignored);
    Discard(probe);
    swapWorks_ = unsupported ? 0 : 1;
    return swapWorks_ == 1;
}

bool SongStore::CommitBySwap(StagedSong& song, const MusicListFile& next, bool& unsupported,
                             std::string& error) {
    // The one tree that holds the list, the songs and the jackets, and nothing linked from
    // elsewhere.
    const fs::path top = layout_.music.parent_path();
    unsupported = layout_.textures.parent_path() != top || top.parent_path() != data_ ||
                  !IsRealFolder(top) || !IsRealFolder(layout_.music) ||
                  !IsRealFolder(layout_.textures);
    if (unsupported) return false;
    const std::string name = platform::WideToUtf8(song.entry.title);
    const std::string musicName = layout_.music.filename().string();
    const std::string textureName = layout_.textures.filename().string();
    const std::string listName = layout_.list.filename().string();
    // Left out of the mirror: the song's old folder and jacket, the old list, staging.
    const platform::MirrorSkip skip = [&](const std::string& relative) {
        const size_t slash = relative.find('/');
        if (slash == std::string::npos || relative.find('/', slash + 1) != std::string::npos)
            return false;
        const std::string folder = relative.substr(0, slash), entry = relative.substr(slash + 1);
        if (entry.rfind("[import ", 0) == 0) return true;
        const std::wstring wide = platform::Utf8ToWide(entry);
        if (folder == musicName) return entry == listName || SameTitle(wide, song.entry.title);
        return folder == textureName && SameTitle(wide, song.entry.title + L".png");
    };
    const fs::path swap = data_ / StagingName(" swap"), mirror = swap / top.filename();
    std::error_code code;
    fs::create_directory(swap, code);
    const fs::path folder = mirror / musicName / name;
    const fs::path jacket = mirror / textureName / (name + ".png");
    bool ready = !code && ImportStepAllowed("mirror", error) &&
                 platform::MirrorByLinks(top.string(), mirror.string(), skip, &unsupported, &error);
    ready =
        ready && Move("song in place", song.folder, folder, error) &&
        Move("jacket in place", song.jacket, jacket, error) && ImportStepAllowed("list", error) &&
        platform::WriteFileSynced((mirror / musicName / listName).string(), next.Bytes(), &error);
    for (const fs::path& f : {mirror / musicName, mirror / textureName, mirror, swap})
        platform::SyncFolder(f.string());
    // The swap is the commit: the new list, song and jacket come in at one instant.
    ready = ready && ImportStepAllowed("swap", error) &&
            platform::ExchangeFolders(top.string(), mirror.string(), &unsupported, &error);
    if (!ready) {
        MoveBack(folder, song.folder);
        MoveBack(jacket, song.jacket);
    }
    platform::SyncFolder(data_.string());
    Discard(swap);
    return ready;
}

bool SongStore::CommitInPlace(StagedSong& song, const MusicListFile& next, std::string& error) {
    const std::string name = platform::WideToUtf8(song.entry.title);
    const fs::path folder = OnDisk(layout_.music, name);
    const fs::path jacket = OnDisk(layout_.textures, name + ".png");
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
    if (!ImportStepAllowed("jacket in place", error)) {
        Discard(oldJacket);
        return false;
    }
    fs::rename(song.jacket, jacket, code);
    if (code) {
        error = "cannot put the jacket in place at " + jacket.string() + ": " + code.message();
        Discard(oldJacket);
        return false;
    }
    bool replaced = false;
    if (!ImportStepAllowed("song in place", error) ||
        !platform::PutFolderInPlace(song.folder.string(), folder.string(), &replaced, &error)) {
        restoreJacket();
        return false;
    }
    if (!next.Save(error)) {
        // The old song comes back, the new one goes back to staging and is removed.
        bool again = false;
        if (replaced)
            platform::PutFolderInPlace(song.folder.string(), folder.string(), &again, &ignored);
        else
            fs::rename(folder, song.folder, code);
        restoreJacket();
        return false;
    }
    // What remains at the staging places is the replaced song.
    Discard(song.folder);
    Discard(oldJacket);
    platform::SyncFolder(layout_.music.string());
    platform::SyncFolder(layout_.textures.string());
    return true;
}

}  // namespace importer
