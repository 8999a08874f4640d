// SourceText: encoding detection and small text helpers shared by the readers.
#include "import/SourceText.h"

#include <optional>

#include "platform/Codepage.h"

namespace importer {

namespace {

// Length of the UTF-8 sequence that starts with lead, 0 for a byte that cannot start one.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        const int n = SequenceLength(lead);
        if (n == 0 || i + n > bytes.size()) return false;
        for (int k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        if (n >= 3) {
            const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
            if (lead == 0xE0 && second < 0xA0) return false;   // overlong
            if (lead == 0xED && second >= 0xA0) return false;  // surrogate
            if (lead == 0xF0 && second < 0x90) return false;   // overlong
            if (lead == 0xF4 && second >= 0x90) return false;  // above U+10FFFF
        }
        i += static_cast<size_t>(n);
    }
    return true;
}

std::wstring DecodeSourceText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (IsValidUtf8(bytes)) return platform::Utf8ToWide(bytes);
    if (std::optional<std::wstring> text = platform::Cp932ToWide(bytes)) return *text;
    std::wstring latin;
    latin.reserve(bytes.size());
    for (char c : bytes) latin += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return latin;
}

std::wstring UpperAscii(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return upper;
}

std::wstring Trim(std::wstring_view text) {
    constexpr std::wstring_view kBlank = L" \t\r\n\xFEFF";
    const size_t first = text.find_first_not_of(kBlank);
    if (first == std::wstring_view::npos) return {};
    const size_t last = text.find_last_not_of(kBlank);
    return std::wstring(text.substr(first, last - first + 1));
}

}  // namespace importer
