// SongTitle: cleaning, the code page 932 choice and the length cut.
#include "import/SongTitle.h"

#include <optional>

#include "import/SourceText.h"
#include "platform/Codepage.h"

namespace importer {

namespace {

// Longest title in UTF-8 bytes: room for " (99)" and ".opus" in a 255-byte file name.
constexpr size_t kMaxTitleBytes = 200;
// Longest credit in characters (the list reads at most 259 a piece).
constexpr size_t kMaxCreditChars = 200;

// Latin letters of U+00C0 to U+017F written without their accents (empty: not a letter).
constexpr const char* kUnaccented[] = {
    "A", "A", "A",  "A",  "A", "A", "AE", "C",  "E",  "E", "E", "E", "I",  "I",  "I", "I", "D", "N",
    "O", "O", "O",  "O",  "O", "",  "O",  "U",  "U",  "U", "U", "Y", "Th", "ss", "a", "a", "a", "a",
    "a", "a", "ae", "c",  "e", "e", "e",  "e",  "i",  "i", "i", "i", "d",  "n",  "o", "o", "o", "o",
    "o", "",  "o",  "u",  "u", "u", "u",  "y",  "th", "y", "A", "a", "A",  "a",  "A", "a", "C", "c",
    "C", "c", "C",  "c",  "C", "c", "D",  "d",  "D",  "d", "E", "e", "E",  "e",  "E", "e", "E", "e",
    "E", "e", "G",  "g",  "G", "g", "G",  "g",  "G",  "g", "H", "h", "H",  "h",  "I", "i", "I", "i",
    "I", "i", "I",  "i",  "I", "i", "IJ", "ij", "J",  "j", "K", "k", "k",  "L",  "l", "L", "l", "L",
    "l", "L", "l",  "L",  "l", "N", "n",  "N",  "n",  "N", "n", "n", "N",  "n",  "O", "o", "O", "o",
    "O", "o", "OE", "oe", "R", "r", "R",  "r",  "R",  "r", "S", "s", "S",  "s",  "S", "s", "S", "s",
    "T", "t", "T",  "t",  "T", "t", "U",  "u",  "U",  "u", "U", "u", "U",  "u",  "U", "u", "U", "u",
    "W", "w", "Y",  "y",  "Y", "Z", "z",  "Z",  "z",  "Z", "z", "s",
};

// Accented Latin letters that code page 932 lacks written without their accents ("Café" as
// "Cafe"), the plainest transliteration where the source gives none.
std::wstring Unaccented(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        const bool mapped = c >= 0xC0 && c <= 0x17F && *kUnaccented[c - 0xC0] != '\0' &&
                            !IsCp932Writable(std::wstring_view(&c, 1));
        if (!mapped) {
            out += c;
            continue;
        }
        for (const char* p = kUnaccented[c - 0xC0]; *p; ++p) out += static_cast<wchar_t>(*p);
    }
    return out;
}

// Replaces what a file name or the list cannot hold, and trims.
std::wstring Clean(std::wstring_view text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'/' || c == L'\\')
            out += L'-';
        else if (c == L'[')
            out += L'(';
        else if (c == L']')
            out += L')';
        else if (c < 0x20 || c == 0x7F)
            out += L' ';
        else if (c == L'.' && i + 1 < text.size() && text[i + 1] == L'.') {
            // A run of dots becomes one ellipsis.
            while (i + 1 < text.size() && text[i + 1] == L'.') ++i;
            out += L'\x2026';
        } else
            out += c;
    }
    out = Trim(out);
    if (out == L".") out = L"_";
    return out;
}

// text with every character that has no code page 932 form replaced.
std::wstring Writable(std::wstring_view text, wchar_t replacement) {
    std::wstring out;
    for (wchar_t c : text) out += IsCp932Writable(std::wstring_view(&c, 1)) ? c : replacement;
    return out;
}

// Cuts text to at most maxBytes of UTF-8, at a character boundary, and trims again.
std::wstring CutToBytes(const std::wstring& text, size_t maxBytes) {
    std::wstring out;
    size_t bytes = 0;
    for (wchar_t c : text) {
        const size_t n = platform::WideToUtf8(std::wstring_view(&c, 1)).size();
        if (bytes + n > maxBytes) break;
        bytes += n;
        out += c;
    }
    return Trim(out);
}

// Characters that code page 932 writes as a plain ASCII byte of another meaning ("¥" as "\",
// "‾" as "~"), and the full-width forms that keep their look without that meaning.
constexpr struct {
    wchar_t from, to;
} kAsciiLookAlikes[] = {{L'\x00A5', L'\xFFE5'}, {L'\x203E', L'\xFFE3'}};

// text with the ASCII look-alikes made full-width, so that a yen sign never becomes a
// backslash on the way into the list.
std::wstring WithoutAsciiLookAlikes(std::wstring text) {
    for (wchar_t& c : text)
        for (const auto& pair : kAsciiLookAlikes)
            if (c == pair.from) c = pair.to;
    return text;
}

// Text as the game reads it back from the list: a few characters (the wave dash among them)
// are written as the code of a look-alike, which reads back as that look-alike.
std::wstring AsReadBack(const std::wstring& text) {
    const std::optional<std::string> bytes = platform::WideToCp932(text);
    if (!bytes) return text;
    return platform::Cp932ToWide(*bytes).value_or(text);
}

// The first usable of original and latin, cleaned; replacement fills what cannot be written.
std::wstring Choose(const std::wstring& original, const std::wstring& latin, wchar_t replacement) {
    // Cleaned as read back, so that nothing the list would turn into "\" or "/" slips through.
    const std::wstring a = Clean(AsReadBack(WithoutAsciiLookAlikes(original)));
    const std::wstring b = Clean(AsReadBack(WithoutAsciiLookAlikes(latin)));
    for (const std::wstring& text : {a, b, Unaccented(a), Unaccented(b)})
        if (!text.empty() && IsCp932Writable(text)) return text;
    return Clean(Writable(Unaccented(b.empty() ? a : b), replacement));
}

}  // namespace

bool IsCp932Writable(std::wstring_view text) {
    for (wchar_t c : text)
        if (c == 0) return false;
    return platform::WideToCp932(text).has_value();
}

std::wstring EntryTitle(const std::wstring& original, const std::wstring& latin,
                        const std::wstring& fallback) {
    std::wstring title = CutToBytes(AsReadBack(Choose(original, latin, L'_')), kMaxTitleBytes);
    if (title.empty()) title = CutToBytes(AsReadBack(Choose(fallback, L"", L'_')), kMaxTitleBytes);
    return title.empty() ? L"Untitled" : title;
}

std::wstring EntryCredit(const std::wstring& original, const std::wstring& latin) {
    // A credit may hold brackets, slashes and dots: only line ends and controls are replaced.
    const auto tidy = [](const std::wstring& text) {
        std::wstring out = text;
        for (wchar_t& c : out)
            if (c < 0x20 || c == 0x7F) c = L' ';
        return Trim(out);
    };
    const std::wstring a = tidy(AsReadBack(WithoutAsciiLookAlikes(original)));
    const std::wstring b = tidy(AsReadBack(WithoutAsciiLookAlikes(latin)));
    std::wstring credit;
    if (!a.empty() && IsCp932Writable(a))
        credit = a;
    else if (!b.empty() && IsCp932Writable(b))
        credit = b;
    else
        credit = Writable(b.empty() ? a : b, L'?');
    // As the list gives it back, so that a later import of the song knows it by its credit.
    return AsReadBack(credit.substr(0, kMaxCreditChars));
}

std::wstring NumberedTitle(const std::wstring& title, int n) {
    return title + L" (" + std::to_wstring(n) + L")";
}

bool SameTitle(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    // Letters of the Latin alphabet fold; other scripts compare as they are.
    return UpperAscii(a) == UpperAscii(b);
}

}  // namespace importer
