// Text conversions at the file-system edge: code page 932 for the music list and save files,
// UTF-8 for paths.
// Depends on: iconv (glibc).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Decodes code page 932 bytes; nullopt when the bytes are not valid code page 932.
std::optional<std::wstring> Cp932ToWide(std::string_view bytes);
// Encodes into code page 932; nullopt when a character has no code page 932 form.
std::optional<std::string> WideToCp932(std::wstring_view text);
// UTF-8 bytes of a wide string (paths on the file system).
std::string WideToUtf8(std::wstring_view text);
// Wide string of UTF-8 bytes; invalid sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view bytes);

}  // namespace platform
