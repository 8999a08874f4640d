// SongStore: the data folder as the importer writes it. Holds the import lock, finds the
// folders the game reads, finishes or clears what an interrupted import left, chooses each
// song's entry title (the same song, title and artist, replaces its entry; another song of a
// taken title, a reserved name or a title of the bundled content gets " (2)"), and puts a
// staged song in place.
// The music list is the commit point: nothing the list does not name yet replaces a listed
// song's files, and an import stopped at any instant leaves the list and every listed song's
// files as they were, or the song wholly in place:
// - a new song's folder and jacket go in under their new names, recorded in a pending note,
//   then the list is renamed over the old one; the next import removes what a note names and
//   the list does not;
// - a song that replaces one is put into a second tree of the data folder made of hard links
//   (its new folder, jacket and list), which is swapped with the live one in one step; where
//   the file system cannot do that, the old folder and jacket step aside just before the list
//   is renamed.
// Staging names hold "[", which no title can, so they can never be taken for a song.
// Depends on: import/MusicListFile.h, import/DataLayout.h, import/SongTitle.h,
// import/ReservedTitles.h, platform/files/SongFolder.h, platform/files/FolderMirror.h,
// platform/files/AtomicFile.h.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "import/DataLayout.h"
#include "import/MusicListFile.h"
#include "platform/files/SongFolder.h"

namespace importer {

// A song written to its staging places, ready to be put in place.
struct StagedSong {
    std::filesystem::path folder;  // "[import PID-N]" in the music folder: charts, song file
    std::filesystem::path jacket;  // "[import PID-N].png" in the jackets' folder
    MusicEntry entry;              // title, credit, ratings
    size_t listIndex = 0;          // entry to replace, or the list's size to add one
};

// Test seam: called before each write and rename of an import with the step's name ("chart",
// "song file", "jacket", "pending note", "song in place", "mirror", "swap", …); returning
// false makes the step fail as an input/output error. Tests also end the process in it, to
// stop an import at that instant. nullptr (the default) turns it off.
using ImportStepHook = bool (*)(const char* step);
void SetImportStepHookForTesting(ImportStepHook hook);
// Runs the hook for a step; false with the reason in error when the step is to fail.
bool ImportStepAllowed(const char* step, std::string& error);

class SongStore {
  public:
    explicit SongStore(std::filesystem::path dataDir);
    // Takes the lock, finds the folders, finishes what an interrupted import left and reads the
    // music list. False with the reason in error when the data folder or its list cannot be
    // used.
    bool Open(std::string& error);
    // Reserves the titles of another content folder's music list (the bundled songs).
    void ReserveTitlesOf(const std::filesystem::path& contentFolder);
    // The title the song gets and the entry it replaces (or the list's size for a new one).
    bool ChooseTitle(const std::wstring& title, const std::wstring& credit, std::wstring& chosen,
                     size_t& listIndex) const;
    // A fresh staging folder for a song, and the path of its staged jacket.
    bool NewStaging(StagedSong& song, std::string& error);
    // A fresh folder to unpack an archive into.
    bool NewUnpackFolder(std::filesystem::path& folder, std::string& error);
    // Puts the staged song in place; on failure nothing of it remains and error says why.
    bool Commit(StagedSong& song, std::string& error);
    // Removes a staging folder or file and everything in it.
    static void Discard(const std::filesystem::path& path);

    const DataLayout& layout() const { return layout_; }

  private:
    // The music list as it will read with the song's entry put in; false when the entry
    // cannot be written in code page 932.
    bool ListWith(const StagedSong& song, MusicListFile& next) const;

    std::filesystem::path data_;
    DataLayout layout_;
    platform::FileLock lock_;
    MusicListFile list_;
    std::vector<std::wstring> reserved_;  // titles of other content folders
    int staged_ = 0;
    int swapWorks_ = -1;  // whether the folder swap works here: -1 not tried yet

    // A new staging name "[import PID-N…]".
    std::string StagingName(const std::string& what);
    // True when files of that title exist, under any letter case.
    bool FilesExist(const std::wstring& title) const;
    // Removes the new songs that pending notes name and the list does not.
    void FinishPending();
    // Removes staging leftovers and temporary list files.
    void ClearLeftovers() const;
    // The commit of a new title: in place under a pending note, then the list.
    bool CommitNew(StagedSong& song, const MusicListFile& next, std::string& error);
    // The commit of a replacement by swapping the whole tree; unsupported when the file system
    // cannot, and nothing was changed.
    bool CommitBySwap(StagedSong& song, const MusicListFile& next, bool& unsupported,
                      std::string& error);
    // The commit of a replacement where no swap is possible: old files aside, new ones in,
    // then the list.
    bool CommitInPlace(StagedSong& song, const MusicListFile& next, std::string& error);
    // True when the folder swap works in this data folder (tried once).
    bool SwapWorks();
};

}  // namespace importer
