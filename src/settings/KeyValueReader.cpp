// KeyValueReader: bounded delimited reads and the standard-conversion number parsing.
// Depends on: the C library's locale-aware conversions (strtof_l, strtol_l) with a "C" locale.
#include "settings/KeyValueReader.h"

#include <locale.h>
#include <stdlib.h>

#include <cerrno>
#include <cmath>
#include <limits>

namespace {

// A "C" locale object, so a process-wide locale never changes the decimal point.
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// The text as a NUL-terminated narrow string; characters outside ASCII become a byte that
// no number contains, so they end the number as they would in the wide conversion.
template <class CharT>
std::string NarrowForNumber(std::basic_string_view<CharT> text) {
    std::string out;
    out.reserve(text.size());
    for (CharT c : text) {
        const auto code = static_cast<std::make_unsigned_t<CharT>>(c);
        out += code < 0x80 ? static_cast<char>(code) : '\x7f';
    }
    return out;
}

// The int conversion on a narrowed copy.
bool ToIntNarrow(const std::string& text, int32_t* value, std::string* message) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long result = strtol_l(begin, &end, 10, CLocale());
    if (end == begin) {
        *message = kNotANumber;
        return false;
    }
    if (errno == ERANGE || result < std::numeric_limits<int32_t>::min() ||
        result > std::numeric_limits<int32_t>::max()) {
        *message = kOutOfRange;
        return false;
    }
    *value = static_cast<int32_t>(result);
    return true;
}

}  // namespace

template <class CharT>
KeyValueReader<CharT>::KeyValueReader(std::basic_string_view<CharT> text) {
    text_.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text[i] != CharT('\r')) {
            text_ += text[i++];
            continue;
        }
        // CRs before a line feed or the end are line ends written on another system (or such
        // a file cut short between CR and line feed); other CRs are text.
        const size_t run = text.find_first_not_of(CharT('\r'), i);
        const size_t stop = run == text.npos ? text.size() : run;
        if (stop < text.size() && text[stop] != CharT('\n')) text_.append(text.substr(i, stop - i));
        i = stop;
    }
}

template <class CharT>
typename KeyValueReader<CharT>::Field KeyValueReader<CharT>::ReadUntil(CharT delimiter) {
    Field field;
    field.line = line_;
    while (true) {
        if (position_ >= text_.size()) {
            field.end = FieldEnd::kEndOfText;
            return field;
        }
        const CharT c = text_[position_];
        if (c == delimiter) {
            ++position_;
            if (c == CharT('\n')) ++line_;
            field.end = FieldEnd::kDelimiter;
            return field;
        }
        if (field.text.size() == kMaxFieldLength) {
            field.end = FieldEnd::kTooLong;
            return field;
        }
        field.text += c;
        ++position_;
        if (c == CharT('\n')) ++line_;
    }
}

template class KeyValueReader<char>;
template class KeyValueReader<wchar_t>;

bool ToFloat(std::string_view text, float* value, std::string* message) {
    const std::string narrow = NarrowForNumber(text);
    const char* begin = narrow.c_str();
    char* end = nullptr;
    errno = 0;
    const float result = strtof_l(begin, &end, CLocale());
    if (end == begin) {
        *message = kNotANumber;
        return false;
    }
    // The standard conversion reports overflow and underflow alike as out of range.
    if (errno == ERANGE) {
        *message = kOutOfRange;
        return false;
    }
    // "inf" and "nan" are words to the player: a NaN HitGap would judge no note, an infinite
    // Volume would play every sound at the cap.
    if (!std::isfinite(result)) {
        *message = kNotANumber;
        return false;
    }
    *value = result;
    return true;
}

bool ToInt(std::string_view text, int32_t* value, std::string* message) {
    return ToIntNarrow(NarrowForNumber(text), value, message);
}

bool ToInt(std::wstring_view text, int32_t* value, std::string* message) {
    return ToIntNarrow(NarrowForNumber(text), value, message);
}

std::string NumberProblem(std::string_view what, std::string_view text, std::string_view failure) {
    const size_t stop = text.find_first_of("\r\n");
    const std::string shown =
        stop == text.npos ? std::string(text) : std::string(text.substr(0, stop)) + "...";
    return std::string(what) + " \"" + shown + "\": " + std::string(failure);
}

std::string TooLongMessage(std::string_view what) {
    return std::string(what) + " longer than " + std::to_string(kMaxFieldLength) + " characters";
}

std::string LocatedMessage(std::string_view file, int line, std::string_view message) {
    return std::string(file) + ":" + std::to_string(line) + ": " + std::string(message);
}

std::string LineMessage(int line, std::string_view message) {
    return std::to_string(line) + ": " + std::string(message);
}

bool ReadEntries(std::string_view text, const EntryTaker& take, std::string* error) {
    KeyValueReader<char> reader(text);
    while (true) {
        const Field key = reader.ReadUntil('[');
        if (key.end == FieldEnd::kTooLong) {
            if (error) *error = LineMessage(key.line, TooLongMessage("key"));
            return false;
        }
        if (key.end == FieldEnd::kEndOfText) return true;
        const Field value = reader.ReadUntil(']');
        if (!take(key, value, error)) return false;
        if (value.end == FieldEnd::kEndOfText) return true;
        if (reader.ReadUntil('\n').end == FieldEnd::kEndOfText) return true;
    }
}
