// MusicList: the music list "Data/Music/0.nld" (code page 932): one entry a line, written
// title "[" level ":" level ":" level "]" credit, each piece at most 259 characters.
// Depends on: settings/KeyValueReader.h, platform/Codepage.h, services/TextureStore.h (jackets
// are checked while reading).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One piece of music of the list; a level rated below 1 cannot be played.
struct MusicEntry {
    std::wstring title;
    std::wstring credit;
    int32_t levels[3] = {0, 0, 0};
};

// What stopped a list from being read: the 1-based line (0 for the whole file) and why.
struct MusicListError {
    int line = 0;
    std::string message;
};

// Loads or checks the jacket of a title before its numbers are read; false stops the reading.
using JacketLoader = std::function<bool(const std::wstring& title)>;

// The list's path, relative to a content folder.
inline constexpr const char* kMusicListPath = "Data/Music/0.nld";

// Reads decoded list text (line feeds only) into entries, in file order. Text after the last
// line feed without "[" is no entry. False with error set on a malformed entry or a jacket
// that cannot be loaded.
bool ParseMusicList(std::wstring_view text, const JacketLoader& loadJacket,
                    std::vector<MusicEntry>& entries, MusicListError& error);

// Reads kMusicListPath, checking each jacket's header through the texture store's jacket
// cache (jackets are decoded when first drawn). False with one line "file:line: message" in
// error when the file is missing, malformed or empty, or a jacket cannot be read; the player's
// songs that cannot be read are left out instead, each named once on stderr. With two
// content folders (platform/files/ContentFiles.h) the lists are merged: the bundled songs, then the
// player's, a title of the player's replacing the bundled one; each song's folder and jacket
// are pinned to the folder its entry came from.
bool ReadMusicList(std::vector<MusicEntry>& entries, std::string& error);
// The same with the jacket loading given by the caller (the content check).
bool ReadMusicList(std::vector<MusicEntry>& entries, std::string& error,
                   const JacketLoader& loadJacket);
// A song of the player's folder left out of the selection (no title for a line that does not
// read as an entry), and why.
struct LeftOutSong {
    std::wstring title;
    std::string reason;
};

// The titles of the lists of the given content folders, each with the index of the folder its
// files come from (the first folder whose list holds it), read without loading, checking or
// pinning anything: for work on a thread of its own. A list that cannot be read adds nothing.
std::vector<std::pair<std::wstring, size_t>> ListedTitles(const std::vector<std::string>& folders);
// The same, reading every list even after one fails (the content check): one message per
// failed list in errors, the entries of what could be read in entries. With leftOut (the
// selection), the player's songs whose files or list lines cannot be read are left out and
// named there instead of failing the reading; the last folder keeps the stop rule.
bool ReadMusicLists(std::vector<MusicEntry>& entries, std::vector<std::string>& errors,
                    const JacketLoader& loadJacket, std::vector<LeftOutSong>* leftOut = nullptr);
