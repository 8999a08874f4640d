// SongTitle: the title and credit of a music list entry. The title names the song's folder, its
// files and its jacket and is written in code page 932, so it is the source's title where that
// can be written, else its Latin transliteration; "/", "\" and ".." (and "[", "]", control
// characters) are replaced, and it is kept short enough for a file name.
// Depends on: platform/Codepage.h.
#pragma once

#include <string>
#include <string_view>

namespace importer {

// True when every character has a code page 932 form.
bool IsCp932Writable(std::wstring_view text);

// The entry title: original if writable, else latin, else the better one with the characters
// that cannot be written replaced; fallback (a file or folder name) when both are empty.
std::wstring EntryTitle(const std::wstring& original, const std::wstring& latin,
                        const std::wstring& fallback);
// The entry credit, chosen the same way ("?" for characters that cannot be written).
std::wstring EntryCredit(const std::wstring& original, const std::wstring& latin);
// title with " (n)" for the n-th different song of that title (n >= 2).
std::wstring NumberedTitle(const std::wstring& title, int n);
// True when two titles would name the same files on a system that ignores letter case.
bool SameTitle(const std::wstring& a, const std::wstring& b);

}  // namespace importer
