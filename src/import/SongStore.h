// SongStore: the data folder as the importer writes it. Holds the import lock, clears what an
// interrupted import left, chooses each song's entry title (the same song replaces its entry;
// a different song of a taken title gets " (2)"), and puts a staged song in place whole: its
// jacket, its folder, then its music list entry, undoing the first steps when a later one
// fails.
// Depends on: import/MusicListFile.h, import/SongTitle.h, platform/files/SongFolder.h,
// platform/files/FileSystem.h.
#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "import/MusicListFile.h"
#include "platform/files/SongFolder.h"

namespace importer {

// A song written to its staging places, ready to be put in place.
struct StagedSong {
    std::filesystem::path folder;  // "Data/Music/.import-…" with the charts and the audio
    std::filesystem::path jacket;  // "Data/Texture/.import-….png"
    MusicEntry entry;              // title, credit, ratings
    size_t listIndex = 0;          // entry to replace, or the list's size to add one
};

class SongStore {
  public:
    explicit SongStore(std::filesystem::path dataDir);
    // Takes the lock, clears leftovers of interrupted imports and reads the music list. False
    // with the reason in error when the data folder or its list cannot be used.
    bool Open(std::string& error);
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

    const std::filesystem::path& musicFolder() const { return music_; }
    const std::filesystem::path& textureFolder() const { return textures_; }

  private:
    std::filesystem::path data_, music_, textures_;
    platform::FileLock lock_;
    MusicListFile list_;
    std::set<std::wstring> written_;  // titles written by this run
    int staged_ = 0;
    // A new staging name ".import-PID-N" with the given ending.
    std::string StagingName(const std::string& ending);
    // True when files of that title exist without a list entry (someone else's).
    bool FilesExist(const std::wstring& title) const;
};

}  // namespace importer
