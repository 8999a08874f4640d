// ContentFiles: the one place that decides which file on disk a content path names. The game
// asks for paths relative to a content folder ("Data/Texture/Hit.png", "Data/Music/T/1.nsd");
// this answers with the path to open:
// - the folders are searched in order: the player's folder, then the bundled content (or the
//   working directory alone, the default, which is what --data gives); an exact name in any
//   folder comes before a name of another letter case in any folder;
// - a path pinned to one folder is looked up there only, so all of a song's files come from
//   the folder whose music list holds the song;
// - where the exact name is missing, a name differing only in letter case is used, for every
//   part of the path (content made on case-blind file systems), and the answer says so.
// Writes never come here: the game writes relative to the working directory.
// Depends on: POSIX directory calls, platform/Codepage.h (UTF-8).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A content file found on disk, or not.
struct FoundFile {
    std::string path;          // UTF-8 path to open; empty when no folder holds the file
    bool caseDiffers = false;  // found under a name that differs from the asked one in case
    size_t folder = 0;         // index of the folder it was found in
};

// Sets the folders searched, first first; an empty string is the working directory. Drops
// every pin. The default is the working directory alone.
void SetContentFolders(std::vector<std::string> folders);
// The folders searched, first first.
const std::vector<std::string>& ContentFolders();

// Pins a file, or every path under a prefix ending in "/", to the folder of that index.
void PinContent(const std::wstring& pathOrPrefix, size_t folder);
// Drops every pin.
void ClearContentPins();
// The folder a path is pinned to (by itself or its longest pinned prefix), or -1 when none is.
long PinnedContentFolder(std::wstring_view relative);

// Looks a relative path up in one folder, exact name first, else one differing in case.
FoundFile FindInFolder(const std::string& folder, std::wstring_view relative);
// Looks a relative path up in its pinned folder, or in each folder in order (exact names
// first).
FoundFile FindContent(std::wstring_view relative);
// The UTF-8 path to open for a content path: where it was found, else the relative path
// itself (so the open fails as a missing file and the message names what was asked for).
std::string ContentPath(std::wstring_view relative);
// Where a file that no folder holds was expected: in its pinned folder, else in the last
// folder (the bundled content, or the only folder). For messages.
std::string ExpectedContentPath(std::wstring_view relative);
// Where the file's exact name would be: in its pinned folder, else in the first folder. No
// file-system call: for opening at once, with ContentPath as the fallback when that fails.
std::string DirectContentPath(std::wstring_view relative);
// The exact path of a relative path in one folder ("" is the working directory); no
// file-system call, and no shared state: any thread may ask.
std::string ContentPathIn(const std::string& folder, std::wstring_view relative);
// True when some folder holds the file (under any letter case); costs one file-status call
// per folder when the exact name is there.
bool ContentExists(std::wstring_view relative);

}  // namespace platform
