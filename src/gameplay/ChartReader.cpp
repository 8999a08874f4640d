// ChartReader: a cursor over the chart's bytes that reads entries the way the game's text
// files are read (each field at most 259 characters, delimiter consumed, the rest of the line
// skipped), collecting every problem with its line.
#include "gameplay/ChartReader.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

#include "settings/KeyValueReader.h"

namespace {

// Direction of a note letter; 4 for anything else.
int32_t DirectionOf(int letter) {
    switch (letter) {
        case 'U':
            return 0;
        case 'R':
            return 1;
        case 'D':
            return 2;
        case 'L':
            return 3;
        default:
            return 4;
    }
}

// The character at i, or -1 past the end (no direction letter).
int CharAt(const std::string& text, size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : -1;
}

// A field as shown in a message: its first line only, in quotes.
std::string Quote(const std::string& text) {
    size_t end = text.find_first_of("\r\n");
    if (end == std::string::npos) return "\"" + text + "\"";
    return "\"" + text.substr(0, end) + "...\"";
}

class ChartParser {
  public:
    ChartParser(const std::string& bytes, const std::string& name, ChartContent& chart,
                bool authoring = false)
        : bytes_(bytes), name_(name), chart_(chart), authoring_(authoring) {}

    // Reads every entry up to the end of the bytes or an overlong field.
    std::vector<std::string> Run() {
        chart_.redNotes.clear();
        chart_.blueNotes.clear();
        std::string head;
        Read read = ReadField('[', head, "a head without \"[\"");
        while (read == Read::kOk && Entry(head)) {
            SkipLine();
            read = ReadField('[', head, "a head without \"[\"");
        }
        CheckTotals();
        return problems_;
    }

  private:
    enum class Read { kOk, kEnd, kTooLong };

    // Reads up to delim (consumed, not stored) or the end, at most kMaxFieldLength characters;
    // an overlong field is reported under what.
    Read ReadField(char delim, std::string& out, const char* what) {
        int startLine = line_;
        size_t start = pos_;
        for (;;) {
            if (pos_ == bytes_.size()) {
                out.assign(bytes_, start, pos_ - start);
                return Read::kEnd;
            }
            if (bytes_[pos_] == delim) {
                out.assign(bytes_, start, pos_ - start);
                ++pos_;
                return Read::kOk;
            }
            if (pos_ - start == kMaxFieldLength) {
                Problem(startLine, std::string(what) + " of 260 characters or more");
                return Read::kTooLong;
            }
            if (bytes_[pos_++] == '\n') ++line_;
        }
    }

    // Skips everything up to and including the next line feed.
    void SkipLine() {
        size_t end = bytes_.find('\n', pos_);
        pos_ = end == std::string::npos ? bytes_.size() : end + 1;
        if (end != std::string::npos) ++line_;
    }

    // Handles one entry by its head; false when reading cannot go on.
    bool Entry(const std::string& head) {
        if (head == "BPM") return IntegerEntry("BPM", chart_.BPM, &bpmLine_);
        if (head == "Second") return IntegerEntry("Second", chart_.Second, &secondLine_);
        if (head.empty()) return NoteEntry();
        return true;  // unknown head: the line is dropped whole
    }

    // Reads an integer value into field; remembers its line.
    bool IntegerEntry(const char* key, int32_t& field, int* fieldLine) {
        int line = line_;
        std::string value, error;
        if (ReadField(']', value, (std::string(key) + " value").c_str()) == Read::kTooLong)
            return false;
        int32_t number = 0;
        if (!ToInt(value, &number, &error)) {
            Problem(line, NumberProblem(key, value, error));
            return true;
        }
        field = number;
        *fieldLine = line;
        return true;
    }

    // Reads a note body: optional red pair, optional blue pair, then the distance value.
    bool NoteEntry() {
        int line = line_;
        std::string body, error;
        if (ReadField(']', body, "a note body") == Read::kTooLong) return false;
        int32_t red = -1, blue = -1;
        if (CharAt(body, 0) == 'R') {
            red = DirectionOf(CharAt(body, 1));
            body.erase(0, 3);
        }
        size_t b = body.find('B');
        if (b != std::string::npos) {
            blue = DirectionOf(CharAt(body, b + 1));
            body.erase(0, 3);  // the blue pair is expected first, whatever precedes the "B"
        }
        float v = 0;
        if (!ToFloat(body, &v, &error)) {
            Problem(line, NumberProblem("note value", body, error));
            return true;
        }
        float offset = ((static_cast<float>(chart_.BPM) * 0.006f) / 1350.0f) * 62.0f;
        float distance = v * 1.55f + offset;
        // A value near the float limit overflows once scaled to track units.
        if (!std::isfinite(distance)) {
            Problem(line, NumberProblem("note value", body, kOutOfRange));
            return true;
        }
        if (authoring_) AuthoringNotes(line, red, blue, distance, Quote(body));
        // Direction 4 has no key and no sprite: such a note could never be played.
        if (red >= 0 && red < 4) chart_.redNotes.push_back({distance, red});
        if (blue >= 0 && blue < 4) chart_.blueNotes.push_back({distance, blue});
        return true;
    }

    // Checks what the whole chart must satisfy to be playable.
    void CheckTotals() {
        if (chart_.BPM < kMinBpm || chart_.BPM > kMaxBpm) {
            if (bpmLine_ == 0)
                Problem(1, "no \"BPM\" entry (a chart needs a BPM of 1 to 600)");
            else
                Problem(bpmLine_, "BPM " + std::to_string(chart_.BPM) + " is outside 1 to 600");
        }
        // The run counts Second + 5 seconds; keep that within 32 bits.
        if (chart_.Second > INT32_MAX - 5)
            Problem(secondLine_ ? secondLine_ : 1,
                    "Second " + std::to_string(chart_.Second) + " is too large");
    }

    // What the game accepts but an author would not mean: letters that give no note, and
    // lanes out of order (only the first note of a lane is ever judged).
    void AuthoringNotes(int line, int32_t red, int32_t blue, float distance,
                        const std::string& value) {
        if (red == 4) Problem(line, "the red direction letter gives no note (use U, R, D or L)");
        if (blue == 4) Problem(line, "the blue direction letter gives no note (use U, R, D or L)");
        if (red >= 0 && red < 4 && !chart_.redNotes.empty() &&
            distance <= chart_.redNotes.back().distance)
            Problem(line, "red note at " + value + " is not after the lane's previous note");
        if (blue >= 0 && blue < 4 && !chart_.blueNotes.empty() &&
            distance <= chart_.blueNotes.back().distance)
            Problem(line, "blue note at " + value + " is not after the lane's previous note");
    }

    void Problem(int line, const std::string& message) {
        problems_.push_back(name_ + ":" + std::to_string(line) + ": " + message);
    }

    const std::string& bytes_;
    const std::string& name_;
    ChartContent& chart_;
    size_t pos_ = 0;
    int line_ = 1;
    int bpmLine_ = 0;
    int secondLine_ = 0;
    bool authoring_ = false;
    std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> ParseChart(const std::string& bytes, const std::string& name,
                                    ChartContent& chart) {
    return ChartParser(bytes, name, chart).Run();
}

std::vector<std::string> ReadChartFile(const std::string& path, ChartContent& chart,
                                       std::string* bytes) {
    return ReadChart(path, chart, false, bytes);
}

std::vector<std::string> CheckChartFile(const std::string& path, ChartContent& chart) {
    return ReadChart(path, chart, true);
}

std::vector<std::string> ReadChart(const std::string& path, ChartContent& chart, bool authoring,
                                   std::string* bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        chart.redNotes.clear();
        chart.blueNotes.clear();
        return {path + ": cannot open the chart file"};
    }
    std::ostringstream read;
    read << file.rdbuf();
    if (file.bad()) return {path + ": cannot read the chart file"};
    std::string text = std::move(read).str();
    std::vector<std::string> problems = ChartParser(text, path, chart, authoring).Run();
    if (bytes) *bytes = std::move(text);
    return problems;
}
