// SourceText: the text of another game's file as wide characters, whatever its encoding:
// UTF-8 (with or without a byte-order mark) where the bytes are valid UTF-8, else code page 932
// (older Japanese simfiles), else Latin-1.
// Depends on: platform/Codepage.h.
#pragma once

#include <string>
#include <string_view>

namespace importer {

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
// The decoded text; never fails.
std::wstring DecodeSourceText(std::string_view bytes);
// ASCII letters made capital (tag and key names).
std::wstring UpperAscii(std::wstring_view text);
// Blanks, tabs and line ends removed from both ends.
std::wstring Trim(std::wstring_view text);

}  // namespace importer
