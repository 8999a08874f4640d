// SongFile: which file holds a title's song. "TITLE.wav" when it exists; where it is missing,
// the first of "TITLE.ogg", "TITLE.opus", "TITLE.flac" and "TITLE.mp3" that exists (songs
// brought in from other games keep their compressed audio). The one place that decides it.
// Depends on: platform/files/FileSystem.h, platform/Codepage.h.
#pragma once

#include <functional>
#include <string>

// The endings a song file may have, in the order they are looked for.
inline constexpr const wchar_t* kSongFileEndings[] = {L".wav", L".ogg", L".opus", L".flac",
                                                      L".mp3"};

// Where a content path ("Data/Music/T/1.nsd") lies on disk: the path to read, or where it was
// expected when no file is there.
using LocateFile = std::function<std::string(const std::wstring& relative)>;

// The content path of a title's song file: the first of its endings that locate finds on
// disk, else the ".wav" one; path is where locate put it.
std::wstring LocateSongFile(const std::wstring& title, const LocateFile& locate, std::string* path);

// The song file of title among the content folders, "Data/Music/TITLE/TITLE.ext"; the
// ".wav" path when none of them exists, so that messages name the file the game expects.
std::wstring SongFilePath(const std::wstring& title);

// The same file relative to the music folder, as SoundManager::PlayMusic takes it.
std::wstring SongMusicName(const std::wstring& title);
