// SongFile: the song file name of a title, WAV first, then the compressed endings in order.
// Depends on: audio/SongFile.h, platform/files/ContentFiles.h (the folders that hold content).
#include "audio/SongFile.h"

#include "platform/files/ContentFiles.h"

namespace {

const std::wstring kMusicFolder = L"Data/Music/";

}  // namespace

std::wstring SongFilePath(const std::wstring& title) {
    const std::wstring stem = kMusicFolder + title + L"/" + title;
    for (const wchar_t* ending : kSongFileEndings)
        if (platform::ContentExists(stem + ending)) return stem + ending;
    return stem + kSongFileEndings[0];
}

std::wstring SongMusicName(const std::wstring& title) {
    return SongFilePath(title).substr(kMusicFolder.size());
}
