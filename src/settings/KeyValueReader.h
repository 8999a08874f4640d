// KeyValueReader: the reading rules shared by the game's text files ("Config.cfg", save files,
// charts, the music list). Each of those files is a run of entries "key[value]rest of line",
// read with delimited reads of at most 259 characters, and numbers are converted like the
// standard string-to-number conversions.
//
// Usage: wrap the decoded text, then call ReadUntil with the delimiter of each piece:
//     KeyValueReader<char> reader(bytes);
//     Field key = reader.ReadUntil('[');          // a line feed does not end a key
//     if (key.end == FieldEnd::kEndOfText) ...    // a key cut by the end is not looked at
//     if (key.end == FieldEnd::kTooLong) ...      // report TooLongMessage(...) at key.line
//     Field value = reader.ReadUntil(']');
//     float f; std::string message;
//     if (!ToFloat(value.text, &f, &message)) ... // "not a number" or "out of range"
//     reader.ReadUntil('\n');                      // the rest of the line
//
// CRs before a line feed or the end of the text are dropped, so CR LF reads as one line feed
// (files written on another system, even when cut short after a CR, read the same).
// A read never takes more than kMaxFieldLength characters: a longer piece ends with
// FieldEnd::kTooLong and the caller reports it, so reading always comes to an end.
// Numbers are read in the "C" conventions whatever the process locale is, by one conversion for
// every file: the standard string-to-number conversions' forms, with infinities and NaNs
// refused (no setting or note can use them).
// Depends on: the standard library only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The longest piece one read may take (a 260-character buffer with its terminator).
inline constexpr size_t kMaxFieldLength = 259;

// How a delimited read ended.
enum class FieldEnd {
    kDelimiter,  // the delimiter was found and consumed
    kEndOfText,  // the text ended first; the field holds what was read
    kTooLong,    // kMaxFieldLength characters were read and the next one is not the delimiter
};

// One piece of text and where it began (1-based line number).
template <class CharT>
struct BasicField {
    std::basic_string<CharT> text;
    FieldEnd end = FieldEnd::kDelimiter;
    int line = 1;
};

// Sequential bounded reader over a whole decoded file.
template <class CharT>
class KeyValueReader {
  public:
    using Field = BasicField<CharT>;

    // Takes a copy of the text with every CR that precedes a LF removed.
    explicit KeyValueReader(std::basic_string_view<CharT> text);

    // Reads up to the delimiter (consumed, not stored), the end of the text, or the bound.
    Field ReadUntil(CharT delimiter);

    // True when every character has been consumed.
    bool AtEnd() const { return position_ >= text_.size(); }

    // The line of the next character to be read.
    int Line() const { return line_; }

  private:
    std::basic_string<CharT> text_;
    size_t position_ = 0;
    int line_ = 1;
};

using Field = BasicField<char>;
using WideField = BasicField<wchar_t>;

// What a failed conversion reports: the text held no number, or one outside the type's range.
inline constexpr const char* kNotANumber = "not a number";
inline constexpr const char* kOutOfRange = "out of range";

// Converts like the standard string-to-float conversion: leading white space, the longest
// float prefix (decimal or hexadecimal, with exponent), the rest ignored. False with
// kNotANumber (also for "inf", "nan" and their other spellings) or kOutOfRange (overflow, and
// underflow as the standard conversion reports it) in message.
bool ToFloat(std::string_view text, float* value, std::string* message);

// Converts like the standard string-to-int conversion in base 10. False with kNotANumber or
// kOutOfRange (outside 32 bits) in message.
bool ToInt(std::string_view text, int32_t* value, std::string* message);
// The same for decoded wide text; characters outside ASCII end the number.
bool ToInt(std::wstring_view text, int32_t* value, std::string* message);

// A failed number named for a message: <what> "<text>": <failure>, the text cut at its first
// line break.
std::string NumberProblem(std::string_view what, std::string_view text, std::string_view failure);

// "<what> longer than 259 characters".
std::string TooLongMessage(std::string_view what);

// "file:line: message", the form every reader reports problems in.
std::string LocatedMessage(std::string_view file, int line, std::string_view message);
// "line: message", a problem of a file's text before the file is named.
std::string LineMessage(int line, std::string_view message);

// Receives one "key[value]" entry; false, with "line: message" in error, refuses the text.
using EntryTaker = std::function<bool(const Field& key, const Field& value, std::string* error)>;
// Reads the entries of a small settings file of ours one by one, each line "key[value]rest":
// every entry goes to take in order (a value cut by the end of the text too, its end telling);
// a key longer than a read may take refuses the text. True when the text ended with every
// entry taken.
bool ReadEntries(std::string_view text, const EntryTaker& take, std::string* error);
