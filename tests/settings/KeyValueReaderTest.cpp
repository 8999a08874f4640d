// Tests of the shared reading rules: bounded delimited reads and the number conversions.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "settings/KeyValueReader.h"

namespace {

// Float conversion result as text: the value, or the error message.
std::string Float(std::string_view text) {
    float value = 0;
    std::string message;
    if (!ToFloat(text, &value, &message)) return message;
    return std::to_string(value);
}

// Int conversion result as text.
template <class S>
std::string Int(const S& text) {
    int32_t value = 0;
    std::string message;
    if (!ToInt(text, &value, &message)) return message;
    return std::to_string(value);
}

TEST(KeyValueReader, ReadsPiecesWithLinesAcrossLineFeeds) {
    KeyValueReader<char> reader("no bracket\nKey[1.5]rest\r\nNext[");
    Field key = reader.ReadUntil('[');
    EXPECT_EQ(key.text, "no bracket\nKey");
    EXPECT_EQ(key.end, FieldEnd::kDelimiter);
    EXPECT_EQ(key.line, 1);
    Field value = reader.ReadUntil(']');
    EXPECT_EQ(value.text, "1.5");
    EXPECT_EQ(value.line, 2);
    Field rest = reader.ReadUntil('\n');
    EXPECT_EQ(rest.text, "rest");  // CR LF reads as one line feed
    EXPECT_EQ(reader.Line(), 3);
    EXPECT_EQ(reader.ReadUntil('[').text, "Next");
    EXPECT_TRUE(reader.AtEnd());
    Field end = reader.ReadUntil('[');
    EXPECT_EQ(end.end, FieldEnd::kEndOfText);
    EXPECT_EQ(end.text, "");
}

TEST(KeyValueReader, BoundsEveryReadTo259Characters) {
    const std::string exact(259, 'x');
    KeyValueReader<char> fits(exact + "[" + exact);
    EXPECT_EQ(fits.ReadUntil('[').end, FieldEnd::kDelimiter);  // the delimiter may follow
    Field last = fits.ReadUntil(']');
    EXPECT_EQ(last.end, FieldEnd::kEndOfText);  // or the end of the text
    EXPECT_EQ(last.text.size(), 259u);

    KeyValueReader<wchar_t> over(std::wstring(300, L'y') + L"[");
    auto field = over.ReadUntil(L'[');
    EXPECT_EQ(field.end, FieldEnd::kTooLong);
    EXPECT_EQ(field.text.size(), 259u);
}

TEST(KeyValueReader, FloatsConvertLikeTheStandardConversion) {
    EXPECT_EQ(Float("0.5abc"), "0.500000");
    EXPECT_EQ(Float(" \t3"), "3.000000");
    EXPECT_EQ(Float("-2.25"), "-2.250000");
    EXPECT_EQ(Float("+1e2x"), "100.000000");
    EXPECT_EQ(Float(""), "invalid stof argument");
    EXPECT_EQ(Float("abc"), "invalid stof argument");
    EXPECT_EQ(Float("\xef\xbb\xbf"
                    "1"),
              "invalid stof argument");
    EXPECT_EQ(Float("1e999"), "stof argument out of range");
    EXPECT_EQ(Float("-1e999"), "stof argument out of range");
    EXPECT_EQ(Float("1e-60"), "stof argument out of range");  // underflow, as the standard does
}

TEST(KeyValueReader, IntsConvertLikeTheStandardConversion) {
    EXPECT_EQ(Int(std::string(" -42 points")), "-42");
    EXPECT_EQ(Int(std::string("7abc")), "7");
    EXPECT_EQ(Int(std::string("2147483647")), "2147483647");
    EXPECT_EQ(Int(std::string("-2147483648")), "-2147483648");
    EXPECT_EQ(Int(std::string("2147483648")), "stoi argument out of range");
    EXPECT_EQ(Int(std::string("99999999999999999999")), "stoi argument out of range");
    EXPECT_EQ(Int(std::string("-")), "invalid stoi argument");
    EXPECT_EQ(Int(std::string("")), "invalid stoi argument");
    EXPECT_EQ(Int(std::wstring(L"12\u30b9")), "12");  // a non-ASCII character ends the number
    EXPECT_EQ(Int(std::wstring(L"\uff11")), "invalid stoi argument");
}

TEST(KeyValueReader, NumbersIgnoreTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    // A locale with a decimal comma, when the machine has one; the result must not change.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    float value = 0;
    std::string message;
    const bool ok = ToFloat("0.75", &value, &message);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_TRUE(ok);
    EXPECT_EQ(value, 0.75f);
}

TEST(KeyValueReader, MessagesNameWhatAndWhere) {
    EXPECT_EQ(TooLongMessage("key"), "key longer than 259 characters");
    EXPECT_EQ(LocatedMessage("Config.cfg", 3, "invalid stof argument"),
              "Config.cfg:3: invalid stof argument");
}

}  // namespace
