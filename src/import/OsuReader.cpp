// OsuReader: "[Section]" headers, "Key: value" lines and comma-separated rows, read line by
// line; unknown sections and malformed rows are passed over.
#include "import/OsuReader.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "import/SourceText.h"
#include "import/Timing.h"
#include "platform/Codepage.h"

namespace importer {

namespace {

// Keys of the named sections and the rows of the others.
struct OsuFile {
    std::vector<std::pair<std::wstring, std::wstring>> values;  // "Section.Key" = value
    std::vector<std::wstring> events, timingPoints, hitObjects;
};

// The value of "Section.Key", or empty.
std::wstring ValueOf(const OsuFile& file, const std::wstring& key) {
    for (const auto& [k, v] : file.values)
        if (k == key) return v;
    return {};
}

// Splits a row on commas.
std::vector<std::wstring> Fields(std::wstring_view row) {
    std::vector<std::wstring> fields;
    size_t start = 0;
    while (start <= row.size()) {
        size_t comma = row.find(L',', start);
        if (comma == std::wstring_view::npos) comma = row.size();
        fields.push_back(Trim(row.substr(start, comma - start)));
        start = comma + 1;
    }
    return fields;
}

// Sorts the lines of the text into their sections.
OsuFile SplitSections(std::wstring_view text) {
    OsuFile file;
    std::wstring section;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) end = text.size();
        const std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.rfind(L"//", 0) == 0) continue;
        if (line.front() == L'[' && line.back() == L']') {
            section = line.substr(1, line.size() - 2);
        } else if (section == L"Events") {
            file.events.push_back(line);
        } else if (section == L"TimingPoints") {
            file.timingPoints.push_back(line);
        } else if (section == L"HitObjects") {
            file.hitObjects.push_back(line);
        } else if (const size_t colon = line.find(L':'); colon != std::wstring::npos) {
            file.values.emplace_back(section + L"." + Trim(line.substr(0, colon)),
                                     Trim(line.substr(colon + 1)));
        }
    }
    return file;
}

// The background picture of the events ("0,0,"file",x,y"), or empty.
std::string Background(const OsuFile& file) {
    for (const std::wstring& row : file.events) {
        const std::vector<std::wstring> f = Fields(row);
        if (f.size() < 3 || (f[0] != L"0" && f[0] != L"Background")) continue;
        std::wstring name = f[2];
        if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"')
            name = name.substr(1, name.size() - 2);
        if (!name.empty()) return platform::WideToUtf8(name);
    }
    return {};
}

// The notes of the hit objects in key columns.
void ReadHitObjects(const OsuFile& file, int keys, SourceChart& chart) {
    for (const std::wstring& row : file.hitObjects) {
        const std::vector<std::wstring> f = Fields(row);
        double x, time, type;
        if (f.size() < 4 || !ParseNumber(f[0], x) || !ParseNumber(f[2], time) ||
            !ParseNumber(f[3], type))
            continue;
        const int column = static_cast<int>(
            std::clamp(std::floor(x * keys / 512.0), 0.0, static_cast<double>(keys - 1)));
        const bool hold = std::fabs(type) < 1e9 && (static_cast<long long>(type) & 128) != 0;
        chart.notes.push_back({time / 1000.0, column, hold ? NoteKind::kHold : NoteKind::kTap});
    }
    std::stable_sort(
        chart.notes.begin(), chart.notes.end(), [](const SourceNote& a, const SourceNote& b) {
            return a.seconds != b.seconds ? a.seconds < b.seconds : a.column < b.column;
        });
}

// The tempo held longest between the first and the last note, from the uninherited points.
double Tempo(const OsuFile& file, double from, double to) {
    std::vector<std::pair<double, double>> points;  // seconds, tempo
    for (const std::wstring& row : file.timingPoints) {
        const std::vector<std::wstring> f = Fields(row);
        double time, beatLength, uninherited = 1;
        if (f.size() < 2 || !ParseNumber(f[0], time) || !ParseNumber(f[1], beatLength)) continue;
        if (f.size() >= 7 && ParseNumber(f[6], uninherited) && uninherited == 0) continue;
        if (beatLength > 0) points.emplace_back(time / 1000.0, 60000.0 / beatLength);
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (points.empty()) return 0.0;
    // The first point's tempo also rules before it.
    double tempo = points.front().second;
    size_t i = 0;
    for (; i < points.size() && points[i].first <= from; ++i) tempo = points[i].second;
    if (!(to > from)) return tempo;
    std::vector<TempoSpan> spans;
    double start = from;
    for (; i < points.size() && points[i].first < to; ++i) {
        spans.push_back({points[i].first - start, tempo});
        start = points[i].first;
        tempo = points[i].second;
    }
    spans.push_back({to - start, tempo});
    return LongestHeldTempo(spans);
}

}  // namespace

bool ReadOsu(const std::string& bytes, SourceSong& song, std::string& error) {
    const OsuFile file = SplitSections(DecodeSourceText(bytes));
    double mode = 0, keys = 0;
    ParseNumber(ValueOf(file, L"General.Mode"), mode);
    if (mode != 3) {
        error = "not an osu!mania beatmap";
        return false;
    }
    if (!ParseNumber(ValueOf(file, L"Difficulty.CircleSize"), keys) || keys < 1 || keys > 18) {
        error = "no key count (CircleSize)";
        return false;
    }
    song.titleLatin = ValueOf(file, L"Metadata.Title");
    song.title = ValueOf(file, L"Metadata.TitleUnicode");
    if (song.title.empty()) song.title = song.titleLatin;
    song.artistLatin = ValueOf(file, L"Metadata.Artist");
    song.artist = ValueOf(file, L"Metadata.ArtistUnicode");
    if (song.artist.empty()) song.artist = song.artistLatin;
    song.audioFile = platform::WideToUtf8(ValueOf(file, L"General.AudioFilename"));
    if (std::string bg = Background(file); !bg.empty()) song.pictures.push_back(bg);
    SourceChart chart;
    chart.fromBeatmap = true;
    chart.columns = static_cast<int>(std::lround(keys));
    chart.name = ValueOf(file, L"Metadata.Version");
    ReadHitObjects(file, chart.columns, chart);
    if (chart.notes.empty()) {
        error = "no notes";
        return false;
    }
    const double first = chart.notes.front().seconds, last = chart.notes.back().seconds;
    chart.notesPerSecond = chart.notes.size() / std::max(1.0, last - first);
    chart.tempo = Tempo(file, first, last);
    song.charts.push_back(std::move(chart));
    return true;
}

}  // namespace importer
