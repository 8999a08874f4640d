// NumberText: integer and floating text as the standard string-to-number conversions read it,
// without their locale and without hexadecimal or "inf"/"nan" forms.
#include "gameplay/NumberText.h"

#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

// True for the blanks the standard conversions skip.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips leading blanks and an optional sign; returns the position after them.
size_t SkipBlanksAndSign(std::string_view text, bool& negative) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    return i;
}

// Length of the run of digits starting at i.
size_t DigitRun(std::string_view text, size_t i) {
    size_t n = 0;
    while (i + n < text.size() && IsDigit(text[i + n])) ++n;
    return n;
}

// Length of the decimal floating form starting at i (digits, point, fraction, exponent);
// 0 when it has no digit before the exponent.
size_t FloatRun(std::string_view text, size_t i) {
    size_t n = DigitRun(text, i);
    size_t digits = n;
    if (i + n < text.size() && text[i + n] == '.') {
        size_t fraction = DigitRun(text, i + n + 1);
        n += 1 + fraction;
        digits += fraction;
    }
    if (digits == 0) return 0;
    if (i + n < text.size() && (text[i + n] == 'e' || text[i + n] == 'E')) {
        size_t e = i + n + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        size_t exponent = DigitRun(text, e);
        if (exponent > 0) n = e + exponent - i;
    }
    return n;
}

}  // namespace

bool ParseInt32(std::string_view text, int32_t& value, std::string& error) {
    bool negative = false;
    size_t i = SkipBlanksAndSign(text, negative);
    size_t n = DigitRun(text, i);
    if (n == 0) {
        error = "invalid stoi argument";
        return false;
    }
    int64_t magnitude = 0;
    for (size_t k = 0; k < n; ++k) {
        magnitude = magnitude * 10 + (text[i + k] - '0');
        if (magnitude > int64_t{INT32_MAX} + 1) {
            error = "stoi argument out of range";
            return false;
        }
    }
    int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX) {
        error = "stoi argument out of range";
        return false;
    }
    value = static_cast<int32_t>(signedValue);
    return true;
}

bool ParseFloat(std::string_view text, float& value, std::string& error) {
    bool negative = false;
    size_t i = SkipBlanksAndSign(text, negative);
    size_t n = FloatRun(text, i);
    if (n == 0) {
        error = "invalid stof argument";
        return false;
    }
    float magnitude = 0;
    auto result = std::from_chars(text.data() + i, text.data() + i + n, magnitude,
                                  std::chars_format::general);
    // Underflow to a subnormal counts as out of range, as with the standard conversion.
    bool tiny = magnitude != 0 && std::fabs(magnitude) < FLT_MIN;
    if (result.ec != std::errc{} || tiny || std::isinf(magnitude)) {
        error = "stof argument out of range";
        return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}
