// MusicList: bounded piece reads over the decoded list, number conversion with the standard
// integer conversion's rules, and the checks that keep a title usable as a file name.
// Depends on: platform/Codepage.h, services/TextureStore.h.
#include "selection/MusicList.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>

#include "platform/Codepage.h"
#include "services/TextureStore.h"

namespace {

// The longest piece a single read takes (a 260-character buffer with its terminator).
constexpr size_t kMaxPiece = 259;

// How a piece read ended.
enum class PieceEnd { Delimiter, EndOfText, TooLong };

struct Piece {
    std::wstring text;
    PieceEnd end = PieceEnd::Delimiter;
    int line = 1;
};

// Reads pieces up to a delimiter, counting lines, never taking more than kMaxPiece.
class PieceReader {
  public:
    explicit PieceReader(std::wstring_view text) : text_(text) {}

    // The characters up to delim (consumed, not stored), the end of the text, or the limit.
    Piece Read(wchar_t delim) {
        Piece piece;
        piece.line = line_;
        while (true) {
            if (pos_ == text_.size()) {
                piece.end = PieceEnd::EndOfText;
                return piece;
            }
            const wchar_t c = text_[pos_];
            if (c == delim) {
                ++pos_;
                if (c == L'\n') ++line_;
                return piece;
            }
            if (piece.text.size() == kMaxPiece) {
                piece.end = PieceEnd::TooLong;
                return piece;
            }
            piece.text.push_back(c);
            ++pos_;
            if (c == L'\n') ++line_;
        }
    }

  private:
    std::wstring_view text_;
    size_t pos_ = 0;
    int line_ = 1;
};

// UTF-8 form of a piece for messages.
std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

// Converts like the standard base-10 string-to-int: blanks, sign, digits, rest ignored.
// Returns nullopt with the standard conversion's message when it would fail.
std::optional<int32_t> ToInt32(const std::wstring& text, std::string& failure) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    const size_t firstDigit = i;
    constexpr int64_t kCap = int64_t{1} << 32;
    int64_t magnitude = 0;
    bool tooLarge = false;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - L'0');
        if (magnitude > kCap) {
            tooLarge = true;
            magnitude = kCap;  // keeps the product from overflowing on long digit runs
        }
    }
    if (i == firstDigit) {
        failure = "invalid stoi argument";
        return std::nullopt;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (tooLarge || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        failure = "stoi argument out of range";
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

// Why a title cannot name a jacket, a folder and a song file, or empty when it can.
std::string TitleProblem(const std::wstring& title) {
    if (title.find_first_of(L"/\\") != std::wstring::npos ||
        title.find(L"..") != std::wstring::npos)
        return "title \"" + Utf8(title) +
               "\" cannot be used as a file name (it holds \"/\", \"\\\" or \"..\")";
    for (wchar_t c : title)
        if (c < 0x20)
            return "title holds a line break or control character (is a \"[\" missing on an "
                   "earlier line, or is there a blank line?)";
    return {};
}

// Fills error and returns false, for one-line failure returns.
bool Fail(MusicListError& error, int line, std::string message) {
    error = {line, std::move(message)};
    return false;
}

// Reads the three ratings of an entry whose title was just read.
bool ReadLevels(PieceReader& reader, const std::wstring& title, int32_t (&levels)[3],
                MusicListError& error) {
    static constexpr wchar_t kEnds[3] = {L':', L':', L']'};
    for (int k = 0; k < 3; ++k) {
        const Piece piece = reader.Read(kEnds[k]);
        const std::string what = "level " + std::to_string(k + 1) + " of \"" + Utf8(title) + "\"";
        if (piece.end == PieceEnd::TooLong)
            return Fail(error, piece.line, what + " is longer than 259 characters");
        std::string failure;
        const std::optional<int32_t> value = ToInt32(piece.text, failure);
        if (!value && piece.text.empty() && piece.end == PieceEnd::EndOfText)
            return Fail(error, piece.line, "the file ends before " + what);
        if (!value)
            return Fail(error, piece.line, what + " \"" + Utf8(piece.text) + "\": " + failure);
        levels[k] = *value;
    }
    return true;
}

// Splits the file's bytes into lines, decodes each from code page 932 and drops the CR of a
// CR LF line end, as a text-mode read would.
bool DecodeList(const std::string& bytes, std::wstring& text, MusicListError& error) {
    size_t start = 0;
    for (int line = 1; start <= bytes.size(); ++line) {
        size_t end = bytes.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) end = bytes.size();
        size_t stop = end;
        if (!last && stop > start && bytes[stop - 1] == '\r') --stop;
        const std::optional<std::wstring> decoded =
            platform::Cp932ToWide(std::string_view(bytes).substr(start, stop - start));
        if (!decoded) return Fail(error, line, "not valid code page 932 text");
        text += *decoded;
        if (last) break;
        text += L'\n';
        start = end + 1;
    }
    return true;
}

}  // namespace

bool ParseMusicList(std::wstring_view text, const JacketLoader& loadJacket,
                    std::vector<MusicEntry>& entries, MusicListError& error) {
    PieceReader reader(text);
    Piece title = reader.Read(L'[');
    while (title.end != PieceEnd::EndOfText) {
        if (title.end == PieceEnd::TooLong)
            return Fail(error, title.line, "title is longer than 259 characters");
        if (std::string problem = TitleProblem(title.text); !problem.empty())
            return Fail(error, title.line, problem);
        if (!loadJacket(title.text))
            return Fail(error, title.line,
                        "jacket \"Data/Texture/" + Utf8(title.text) + ".png\" cannot be loaded");
        MusicEntry entry;
        entry.title = title.text;
        if (!ReadLevels(reader, entry.title, entry.levels, error)) return false;
        Piece credit = reader.Read(L'\n');
        if (credit.end == PieceEnd::TooLong)
            return Fail(error, credit.line,
                        "credit of \"" + Utf8(entry.title) + "\" is longer than 259 characters");
        entry.credit = std::move(credit.text);
        entries.push_back(std::move(entry));
        title = reader.Read(L'[');
    }
    return true;
}

bool ReadMusicList(std::vector<MusicEntry>& entries, std::string& error) {
    const JacketLoader loadJacket = [](const std::wstring& title) {
        return TextureStore::Get().Load(title, title + L".png");
    };
    return ReadMusicList(entries, error, loadJacket);
}

bool ReadMusicList(std::vector<MusicEntry>& entries, std::string& error,
                   const JacketLoader& loadJacket) {
    const std::string path = kMusicListPath;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be opened: " + std::strerror(errno);
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = path + ": cannot be read";
        return false;
    }
    std::wstring text;
    MusicListError failure;
    if (!DecodeList(bytes, text, failure) || !ParseMusicList(text, loadJacket, entries, failure)) {
        error = path + ":" + std::to_string(failure.line) + ": " + failure.message;
        return false;
    }
    if (entries.empty()) {
        error = path + ": the music list holds no entry (one line: Title[1:2:3]Credit)";
        return false;
    }
    return true;
}
