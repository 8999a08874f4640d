// FolderMirror: a second copy of a folder tree made of hard links (no file's bytes are
// copied), and the exchange of two folders in one step. Together they let a change to many
// files of a tree (a song's folder, its jacket and the music list) be prepared aside and then
// put in place at once: a reader, or a crash, sees the old tree or the new one, never a mix.
// Depends on: POSIX file calls (link, symlink), platform/files/SongFolder.h (renameat2).
#pragma once

#include <functional>
#include <string>

namespace platform {

// Receives the path of each entry below the tree's top ("Music/0.nld"); true leaves it out.
using MirrorSkip = std::function<bool(const std::string& relative)>;

// Makes to (which must not exist) a tree of the same folders as from (same permissions), the
// same links, and a hard link to each of its files; entries skip accepts are left out. False
// with the reason in error, and in *unsupported when the file system cannot hold such a tree
// (no hard links, another file system below, files the user may not link); what was made of
// to stays for the caller to remove.
bool MirrorByLinks(const std::string& from, const std::string& to, const MirrorSkip& skip,
                   bool* unsupported, std::string* error);

// Swaps two folders of one file system in one step. False with the reason in error, and in
// *unsupported when the file system has no such swap; both stay where they were.
bool ExchangeFolders(const std::string& a, const std::string& b, bool* unsupported,
                     std::string* error);

// Test seam: with true, ExchangeFolders reports the swap unsupported, as some file systems do.
void SetExchangeUnsupportedForTesting(bool unsupported);

}  // namespace platform
