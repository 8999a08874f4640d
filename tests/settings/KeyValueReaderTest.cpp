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
    EXPECT_EQ(Float(" .5"), "0.500000");
    EXPECT_EQ(Float("5."), "5.000000");
    EXPECT_EQ(Float("1e"), "1.000000");     // an exponent without digits is not part of the number
    EXPECT_EQ(Float("0x1p3"), "8.000000");  // hexadecimal forms, as the standard takes them
    EXPECT_EQ(Float("0e-99"), "0.000000");
    float value = 0;
    std::string message;
    ASSERT_TRUE(ToFloat("7.3", &value, &message));
    EXPECT_EQ(value, 7.3f);  // correctly rounded
    ASSERT_TRUE(ToFloat("3.4028235e38", &value, &message));
    EXPECT_EQ(value, 3.4028235e38f);  // the largest float is still in range
}

TEST(KeyValueReader, FloatFailuresSayWhatWasWrong) {
    EXPECT_EQ(Float(""), "not a number");
    EXPECT_EQ(Float("."), "not a number");
    EXPECT_EQ(Float("e5"), "not a number");
    EXPECT_EQ(Float("abc"), "not a number");
    EXPECT_EQ(Float("\xef\xbb\xbf"
                    "1"),
              "not a number");
    EXPECT_EQ(Float("1e999"), "out of range");
    EXPECT_EQ(Float("-1e39"), "out of range");
    EXPECT_EQ(Float("0x1p200"), "out of range");
    EXPECT_EQ(Float("1e-40"), "out of range");  // underflow, as the standard reports it
    EXPECT_EQ(Float("1e-60"), "out of range");
}

TEST(KeyValueReader, InfinitiesAndNansAreRefusedInEverySpelling) {
    for (const char* text :
         {"inf", "-inf", "+INF", " Infinity", "infinit", "nan", "-NaN", "nan(123)", "NAN(abc)x"})
        EXPECT_EQ(Float(text), "not a number") << text;
}

TEST(KeyValueReader, IntsConvertLikeTheStandardConversion) {
    EXPECT_EQ(Int(std::string(" -42 points")), "-42");
    EXPECT_EQ(Int(std::string(" \t+12abc")), "12");
    EXPECT_EQ(Int(std::string("0000000000000000000042")), "42");
    EXPECT_EQ(Int(std::string("1.9")), "1");
    EXPECT_EQ(Int(std::string("0x10")), "0");  // base 10: the "x" ends the number
    EXPECT_EQ(Int(std::string("2147483647")), "2147483647");
    EXPECT_EQ(Int(std::string("-2147483648")), "-2147483648");
    EXPECT_EQ(Int(std::string("2147483648")), "out of range");
    EXPECT_EQ(Int(std::string("-2147483649")), "out of range");
    EXPECT_EQ(Int(std::string("99999999999999999999")), "out of range");
    EXPECT_EQ(Int(std::string("-")), "not a number");
    EXPECT_EQ(Int(std::string("- 5")), "not a number");
    EXPECT_EQ(Int(std::string("")), "not a number");
    EXPECT_EQ(Int(std::string("inf")), "not a number");
    EXPECT_EQ(Int(std::wstring(L"12\u30b9")), "12");  // a non-ASCII character ends the number
    EXPECT_EQ(Int(std::wstring(L"\uff11")), "not a number");
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
    EXPECT_EQ(LocatedMessage("Config.cfg", 3, "Volume \"x\": not a number"),
              "Config.cfg:3: Volume \"x\": not a number");
    EXPECT_EQ(NumberProblem("Volume", "x\r\nHiSpeed[2", kNotANumber),
              "Volume \"x...\": not a number");
}

}  // namespace
