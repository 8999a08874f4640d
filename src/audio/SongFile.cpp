// SongFile: the song file name of a title, WAV first, then the compressed endings in order.
// Depends on: audio/SongFile.h, platform/files/ContentFiles.h (the folders that hold content).
#include "audio/SongFile.h"

#include "platform/files/ContentFiles.h"
#include "platform/files/FileSystem.h"

namespace {

const std::wstring kMusicFolder = L"Data/Music/";

}  // namespace

std::wstring LocateSongFile(const std::wstring& title, const LocateFile& locate,
                            std::string* path) {
    const std::wstring stem = kMusicFolder + title + L"/" + title;
    for (const wchar_t* ending : kSongFileEndings) {
        *path = locate(stem + ending);
        if (platform::PathExists(*path)) return stem + ending;
    }
    *path = locate(stem + kSongFileEndings[0]);
    return stem + kSongFileEndings[0];
}

std::wstring SongFilePath(const std::wstring& title) {
    std::string path;  // empty where no content folder holds the file
    return LocateSongFile(
        title, [](const std::wstring& relative) { return platform::FindContent(relative).path; },
        &path);
}

std::wstring SongMusicName(const std::wstring& title) {
    return SongFilePath(title).substr(kMusicFolder.size());
}
