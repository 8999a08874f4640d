// GlibTextFold: FoldForSearch over GLib: NFKD, case folding, NFKD again (folding can give
// composed letters), then the combining marks of Latin, Greek and Cyrillic letters dropped.
// Depends on: platform/TextFold.h, platform/Codepage.h, GLib (linked through Pango).
#include <glib.h>

#include <memory>

#include "platform/Codepage.h"
#include "platform/TextFold.h"

namespace platform {

namespace {

// The combining diacritical marks block: the accents a player leaves out when typing.
constexpr gunichar kFirstAccent = 0x0300;
constexpr gunichar kLastAccent = 0x036F;

using GlibString = std::unique_ptr<gchar, decltype(&g_free)>;

// True when every character is ASCII.
bool IsAscii(std::wstring_view text) {
    for (wchar_t c : text)
        if (static_cast<uint32_t>(c) >= 0x80) return false;
    return true;
}

// ASCII folds by lowering letters; nothing else changes under the full rules.
std::string FoldAscii(std::wstring_view text) {
    std::string out(text.size(), ' ');
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = static_cast<char>(text[i]);
        out[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

// NFKD form of UTF-8 text, owned.
GlibString Decompose(const gchar* text) {
    return GlibString(g_utf8_normalize(text, -1, G_NORMALIZE_NFKD), g_free);
}

}  // namespace

std::string FoldForSearch(std::wstring_view text) {
    if (IsAscii(text)) return FoldAscii(text);
    const std::string utf8 = WideToUtf8(text);
    GlibString decomposed = Decompose(utf8.c_str());
    if (!decomposed) return utf8;  // not text GLib accepts: compared as it is
    GlibString folded(g_utf8_casefold(decomposed.get(), -1), g_free);
    GlibString again = Decompose(folded.get());
    std::string out;
    out.reserve(utf8.size());
    for (const gchar* p = again.get(); *p; p = g_utf8_next_char(p)) {
        const gunichar c = g_utf8_get_char(p);
        if (c >= kFirstAccent && c <= kLastAccent) continue;
        out.append(p, static_cast<size_t>(g_utf8_next_char(p) - p));
    }
    return out;
}

}  // namespace platform
