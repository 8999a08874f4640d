// SongFile: which file holds a title's song. "TITLE.wav" when it exists; where it is missing,
// the first of "TITLE.ogg", "TITLE.opus", "TITLE.flac" and "TITLE.mp3" that exists (songs
// brought in from other games keep their compressed audio). The one place that decides it.
// Depends on: platform/files/FileSystem.h, platform/Codepage.h.
#pragma once

#include <string>

// The endings a song file may have, in the order they are looked for.
inline constexpr const wchar_t* kSongFileEndings[] = {L".wav", L".ogg", L".opus", L".flac",
                                                      L".mp3"};

// The song file of title relative to the working folder, "Data/Music/TITLE/TITLE.ext"; the
// ".wav" path when none of them exists, so that messages name the file the game expects.
std::wstring SongFilePath(const std::wstring& title);

// The same file relative to the music folder, as SoundManager::PlayMusic takes it.
std::wstring SongMusicName(const std::wstring& title);
