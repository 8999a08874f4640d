// ReplayFile: the writer and the strict reader of the replay format.
#include "replay/ReplayFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "platform/Codepage.h"
#include "platform/files/FileSystem.h"
#include "settings/KeyValueReader.h"

namespace {

constexpr size_t kMaxLineBytes = 4096;
// Updates beyond this are not a run this game can have played.
constexpr int64_t kMaxUpdate = 2147483647;
// A key's time within its 16 ms update.
constexpr float kUpdateMs = 16.0f;

// Shortest text that reads back as the same float.
std::string FloatText(float value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Two upper-case hexadecimal digits.
std::string CodeText(uint32_t code) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned>(code));
    return buffer;
}

// Reads the text line by line, counting lines from 1.
class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {}
    // Takes the next line without its line feed; false at the end or for a line without one.
    bool Next(std::string_view* line) {
        ++number_;
        if (position_ >= text_.size()) return false;
        const size_t end = text_.find('\n', position_);
        if (end == std::string_view::npos) {
            unterminated_ = true;
            return false;
        }
        *line = text_.substr(position_, end - position_);
        position_ = end + 1;
        return true;
    }
    int number() const { return number_; }
    bool unterminated() const { return unterminated_; }
    bool AtEnd() const { return position_ >= text_.size(); }

  private:
    std::string_view text_;
    size_t position_ = 0;
    int number_ = 0;
    bool unterminated_ = false;
};

// A reading in progress: the lines, the name for messages and the first problem.
class Reader {
  public:
    Reader(std::string_view text, const std::string& name) : lines_(text), name_(name) {}

    // The value of the next line, which must be KEY[VALUE]; false (with the problem) otherwise.
    bool Entry(const char* key, std::string* value) {
        std::string_view line;
        if (!NextLine(line)) return false;
        const std::string_view k(key);
        if (line.size() < k.size() + 2 || line.substr(0, k.size()) != k || line[k.size()] != '[' ||
            line.back() != ']')
            return Fail(std::string("expected ") + key + "[...]");
        *value = std::string(line.substr(k.size() + 1, line.size() - k.size() - 2));
        return true;
    }

    // The next line, at most kMaxLineBytes long and holding no CR; false at the end.
    bool NextLine(std::string_view& line) {
        if (!lines_.Next(&line))
            return Fail(lines_.unterminated() ? "the file is cut short (no line feed at its end)"
                                              : "the file ends before its \"End\" line");
        if (line.size() > kMaxLineBytes) return Fail("line longer than 4096 bytes");
        if (line.find('\r') != std::string_view::npos) return Fail("carriage return in a line");
        return true;
    }

    bool Fail(const std::string& reason) {
        if (error_.empty()) error_ = LocatedMessage(name_, lines_.number(), reason);
        return false;
    }

    Lines& lines() { return lines_; }
    const std::string& error() const { return error_; }

  private:
    Lines lines_;
    const std::string& name_;
    std::string error_;
};

// A decimal integer written as the writer writes it (no sign but "-", no leading zeros).
bool ParseInteger(const std::string& text, int64_t low, int64_t high, int64_t* value) {
    int64_t v = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (failure != std::errc() || end != text.data() + text.size()) return false;
    if (std::to_string(v) != text || v < low || v > high) return false;
    *value = v;
    return true;
}

// A 32-bit integer entry in [low, high].
bool IntEntry(Reader& in, const char* key, int64_t low, int64_t high, int64_t* value) {
    std::string text;
    if (!in.Entry(key, &text)) return false;
    if (!ParseInteger(text, low, high, value))
        return in.Fail(std::string(key) + " is not a whole number from " + std::to_string(low) +
                       " to " + std::to_string(high) + ": \"" + text.substr(0, 40) + "\"");
    return true;
}

// A finite float written in its shortest form.
bool ParseFloat(const std::string& text, float* value) {
    float v = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (failure != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return false;
    if (FloatText(v) != text) return false;
    *value = v;
    return true;
}

// A float entry.
bool FloatEntry(Reader& in, const char* key, float* value) {
    std::string text;
    if (!in.Entry(key, &text)) return false;
    if (!ParseFloat(text, value))
        return in.Fail(std::string(key) + " is not a number as this game writes one: \"" +
                       text.substr(0, 40) + "\"");
    return true;
}

// UTF-8 text without control characters, read back exactly; false otherwise.
bool ParseText(const std::string& text, std::wstring* value) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return false;
    std::wstring wide = platform::Utf8ToWide(text);
    if (platform::WideToUtf8(wide) != text) return false;
    *value = std::move(wide);
    return true;
}

// The title: a name the music list could hold, which names folders and files.
bool TitleEntry(Reader& in, std::wstring* title) {
    std::string text;
    if (!in.Entry("Title", &text)) return false;
    if (text.empty() || !ParseText(text, title)) return in.Fail("Title is not a song title");
    if (title->find_first_of(L"/\\") != std::wstring::npos ||
        title->find(L"..") != std::wstring::npos)
        return in.Fail("Title holds \"/\", \"\\\" or \"..\"");
    return true;
}

// The account: empty for a guest, else a name that could be an account's.
bool AccountEntry(Reader& in, std::wstring* account) {
    std::string text;
    if (!in.Entry("Account", &text)) return false;
    if (!ParseText(text, account) || account->find(L'/') != std::wstring::npos)
        return in.Fail("Account is not an account name");
    return true;
}

// The chart digest: 64 lower-case hexadecimal digits.
bool DigestEntry(Reader& in, std::string* digest) {
    if (!in.Entry("Chart", digest)) return false;
    bool ok = digest->size() == 64;
    for (char c : *digest) ok = ok && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
    return ok || in.Fail("Chart is not a SHA-256 digest (64 lower-case hexadecimal digits)");
}

// "YYYY-MM-DDTHH:MM:SSZ".
bool DateEntry(Reader& in, std::string* date) {
    if (!in.Entry("Date", date)) return false;
    const std::string pattern = "0000-00-00T00:00:00Z";
    bool ok = date->size() == pattern.size();
    for (size_t i = 0; ok && i < pattern.size(); ++i)
        ok =
            pattern[i] == '0' ? ((*date)[i] >= '0' && (*date)[i] <= '9') : (*date)[i] == pattern[i];
    return ok || in.Fail("Date is not a time written as YYYY-MM-DDTHH:MM:SSZ");
}

// The game's version: printable ASCII.
bool GameEntry(Reader& in, std::string* game) {
    if (!in.Entry("Game", game)) return false;
    bool ok = !game->empty() && game->size() <= 64;
    for (char c : *game) ok = ok && c > 0x20 && c < 0x7F;
    return ok || in.Fail("Game is not a version");
}

// Two upper-case hexadecimal digits of a key code.
bool ParseCode(std::string_view text, uint32_t* code) {
    if (text.size() != 2) return false;
    unsigned v = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + 2, v, 16);
    if (failure != std::errc() || end != text.data() + 2 || CodeText(v) != text) return false;
    *code = v;
    return true;
}

// Eight distinct lane keys, each one that can be bound.
bool KeysEntry(Reader& in, LaneKeys* keys) {
    std::string text;
    if (!in.Entry("Keys", &text)) return false;
    if (text.size() != 3 * kLaneSlots - 1) return in.Fail("Keys does not hold eight key codes");
    for (int slot = 0; slot < kLaneSlots; ++slot) {
        if (slot > 0 && text[3 * slot - 1] != ' ')
            return in.Fail("Keys does not hold eight key codes");
        if (!ParseCode(std::string_view(text).substr(3 * slot, 2), &(*keys)[slot]))
            return in.Fail("Keys does not hold eight key codes");
    }
    for (int slot = 0; slot < kLaneSlots; ++slot)
        if (!BindingRefusal(*keys, slot, (*keys)[slot]).empty())
            return in.Fail("Keys holds " + CodeText((*keys)[slot]) + ", which cannot play a lane");
    return true;
}

// Five grade counts, each 0 or more.
bool GradesEntry(Reader& in, ReplayOutcome* outcome) {
    std::string text;
    if (!in.Entry("Grades", &text)) return false;
    int32_t* fields[5] = {&outcome->perfect, &outcome->great, &outcome->ok, &outcome->bad,
                          &outcome->miss};
    size_t start = 0;
    for (int i = 0; i < 5; ++i) {
        const size_t end = i < 4 ? text.find(' ', start) : text.size();
        int64_t v = 0;
        if (end == std::string::npos ||
            !ParseInteger(text.substr(start, end - start), 0, 2147483647, &v))
            return in.Fail("Grades does not hold five counts");
        *fields[i] = static_cast<int32_t>(v);
        start = end + 1;
    }
    return true;
}

// The header lines, in their order.
bool ReadHeader(Reader& in, Replay* r) {
    int64_t v = 0;
    std::string text;
    if (!in.Entry("LyrandelReplay", &text)) return false;
    if (text != std::to_string(kReplayFormatVersion))
        return in.Fail("replay format \"" + text.substr(0, 20) +
                       "\" is not known (this game reads " + std::to_string(kReplayFormatVersion) +
                       ")");
    if (!GameEntry(in, &r->game) || !TitleEntry(in, &r->title)) return false;
    if (!IntEntry(in, "Level", 1, 3, &v)) return false;
    r->level = static_cast<int32_t>(v);
    if (!DigestEntry(in, &r->chartDigest)) return false;
    if (!IntEntry(in, "SongSize", -1, INT64_MAX, &r->songSize)) return false;
    if (!IntEntry(in, "BPM", 1, 600, &v)) return false;
    r->bpm = static_cast<int32_t>(v);
    if (!IntEntry(in, "Second", INT32_MIN, INT32_MAX, &v)) return false;
    r->second = static_cast<int32_t>(v);
    if (!FloatEntry(in, "HitGap", &r->hitGap) || !FloatEntry(in, "Offset", &r->globalOffsetMs) ||
        !FloatEntry(in, "SongOffset", &r->songOffsetMs) || !KeysEntry(in, &r->keys) ||
        !AccountEntry(in, &r->account) || !DateEntry(in, &r->date))
        return false;
    if (!IntEntry(in, "Score", INT32_MIN, INT32_MAX, &v)) return false;
    r->outcome.score = static_cast<int32_t>(v);
    if (!IntEntry(in, "MaxCombo", 0, INT32_MAX, &v)) return false;
    r->outcome.maxCombo = static_cast<int32_t>(v);
    return GradesEntry(in, &r->outcome);
}

// One event line, checked against the events before it.
bool ReadEvent(Reader& in, const Replay& r, bool down[kLaneSlots], ReplayKeyEvent* event) {
    std::string_view line;
    if (!in.NextLine(line)) return false;
    const size_t space = line.find(' ');
    int64_t update = 0;
    if (space == std::string_view::npos ||
        !ParseInteger(std::string(line.substr(0, space)), 1, kMaxUpdate, &update))
        return in.Fail("expected an event \"UPDATE d|u KEY\"");
    const std::string_view rest = line.substr(space + 1);
    uint32_t code = 0;
    if (rest.size() < 4 || (rest[0] != 'd' && rest[0] != 'u') || rest[1] != ' ' ||
        !ParseCode(rest.substr(2, 2), &code) || (rest.size() > 4 && rest.substr(4, 2) != " @"))
        return in.Fail("expected an event \"UPDATE d|u KEY\"");
    event->update = update;
    event->key = code;
    event->down = rest[0] == 'd';
    event->ms.reset();
    if (rest.size() > 4) {
        float ms = 0;
        if (!ParseFloat(std::string(rest.substr(6)), &ms) || ms < 0 || ms >= kUpdateMs)
            return in.Fail("the time of an event is not 0 to 16 ms into its update");
        event->ms = ms;
    }
    if (!r.events.empty() && update < r.events.back().update)
        return in.Fail("events out of update order");
    const int slot = LaneSlotOf(r.keys, code);
    if (slot < 0) return in.Fail("key " + CodeText(code) + " is not one of the lane keys");
    if (down[slot] == event->down)
        return in.Fail("key " + CodeText(code) +
                       (event->down ? " goes down while down" : " goes up while up"));
    down[slot] = event->down;
    return true;
}

// "Events[N]", the N events and "End", then nothing.
bool ReadEvents(Reader& in, Replay* r) {
    int64_t count = 0;
    if (!IntEntry(in, "Events", 0, kMaxReplayEvents, &count)) return false;
    r->events.clear();
    r->events.reserve(static_cast<size_t>(count));
    bool down[kLaneSlots] = {};
    for (int64_t i = 0; i < count; ++i) {
        ReplayKeyEvent event;
        if (!ReadEvent(in, *r, down, &event)) return false;
        r->events.push_back(event);
    }
    std::string_view line;
    if (!in.NextLine(line)) return false;
    if (line != "End") return in.Fail("expected \"End\" after the events");
    if (!in.lines().AtEnd()) {
        in.NextLine(line);
        return in.Fail("text after \"End\"");
    }
    return true;
}

}  // namespace

std::string FormatReplay(const Replay& r) {
    std::string text;
    auto entry = [&](const char* key, const std::string& value) {
        text += key;
        text += '[' + value + "]\n";
    };
    entry("LyrandelReplay", std::to_string(kReplayFormatVersion));
    entry("Game", r.game);
    entry("Title", platform::WideToUtf8(r.title));
    entry("Level", std::to_string(r.level));
    entry("Chart", r.chartDigest);
    entry("SongSize", std::to_string(r.songSize));
    entry("BPM", std::to_string(r.bpm));
    entry("Second", std::to_string(r.second));
    entry("HitGap", FloatText(r.hitGap));
    entry("Offset", FloatText(r.globalOffsetMs));
    entry("SongOffset", FloatText(r.songOffsetMs));
    std::string keys;
    for (int slot = 0; slot < kLaneSlots; ++slot)
        keys += (slot ? " " : "") + CodeText(r.keys[slot]);
    entry("Keys", keys);
    entry("Account", platform::WideToUtf8(r.account));
    entry("Date", r.date);
    entry("Score", std::to_string(r.outcome.score));
    entry("MaxCombo", std::to_string(r.outcome.maxCombo));
    const ReplayOutcome& o = r.outcome;
    entry("Grades", std::to_string(o.perfect) + " " + std::to_string(o.great) + " " +
                        std::to_string(o.ok) + " " + std::to_string(o.bad) + " " +
                        std::to_string(o.miss));
    entry("Events", std::to_string(r.events.size()));
    for (const ReplayKeyEvent& e : r.events) {
        text += std::to_string(e.update) + (e.down ? " d " : " u ") + CodeText(e.key);
        if (e.ms) text += " @" + FloatText(*e.ms);
        text += '\n';
    }
    text += "End\n";
    return text;
}

bool ParseReplay(std::string_view text, const std::string& name, Replay* replay,
                 std::string* error) {
    Reader in(text, name);
    Replay read;
    if (ReadHeader(in, &read) && ReadEvents(in, &read)) {
        *replay = std::move(read);
        return true;
    }
    if (error) *error = in.error();
    return false;
}

bool ReadReplayFile(const std::string& path, Replay* replay, std::string* error) {
    // Checked before reading, so a device or a huge file is never read whole.
    std::error_code code;
    const auto status = std::filesystem::status(path, code);
    if (!code && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        if (error) *error = path + ": not a replay file";
        return false;
    }
    if (!code && std::filesystem::exists(status) &&
        std::filesystem::file_size(path, code) > kMaxReplayBytes && !code) {
        if (error) *error = path + ": larger than any replay (64 MiB)";
        return false;
    }
    std::string bytes, readError;
    switch (platform::ReadWholeFile(path, &bytes, &readError)) {
        case platform::ReadResult::kMissing:
            if (error) *error = path + ": no such file";
            return false;
        case platform::ReadResult::kFailed:
            if (error) *error = readError;
            return false;
        case platform::ReadResult::kOk:
            break;
    }
    if (bytes.size() > kMaxReplayBytes) {  // grew while it was read
        if (error) *error = path + ": larger than any replay (64 MiB)";
        return false;
    }
    return ParseReplay(bytes, path, replay, error);
}
