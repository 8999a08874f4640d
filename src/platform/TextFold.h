// TextFold: the form of a text that searching compares, so that what a player types finds a
// title however either is written: letter case is folded, full-width and half-width forms
// become one (compatibility decomposition), and accents on letters are dropped ("Café" and
// "cafe" meet, "ＡＢＣ" and "abc" meet). Kana keep their voicing marks (ガ is not カ).
// Implementation: GLib's Unicode tables (platform/text).
// Depends on: nothing.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The folded form of text as UTF-8. ASCII text takes a fast path that gives the same result.
std::string FoldForSearch(std::wstring_view text);

}  // namespace platform
