// SimfileReader: song tags and chart blocks (".sm": one #NOTES tag of six parts per chart;
// ".ssc": #NOTEDATA opens a chart whose tags follow), then the notes timed by a BeatClock.
#include "import/SimfileReader.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "import/NoteRows.h"
#include "import/SimfileTags.h"
#include "import/SourceText.h"
#include "import/Timing.h"
#include "platform/Codepage.h"

namespace importer {

namespace {

// Charts read from one file at most; more are no song's and would only cost time.
constexpr size_t kMaxCharts = 64;

// The tags of one chart before its notes are read.
struct ChartBlock {
    std::wstring stepsType, difficulty, meter, notes;
    TimingData timing;        // the song's, with the chart's own tags laid over it
    bool songTiming = false;  // an old-style chart: timed by the song's tags wherever they are
};

// The song-wide tags besides timing.
struct SongTags {
    std::wstring subtitle, subtitleLatin;
    std::wstring pictures[3];  // jacket, background, banner
};

// Applies a timing tag to timing; false when the tag is no timing tag.
bool ApplyTimingTag(const SimfileTag& tag, TimingData& timing) {
    const std::wstring& value = tag.values[0];
    if (tag.name == L"OFFSET") {
        double offset;
        if (ParseNumber(value, offset)) timing.offset = offset;
    } else if (tag.name == L"BPMS") {
        timing.bpms = ParseBeatValues(value);
    } else if (tag.name == L"STOPS" || tag.name == L"FREEZES") {
        timing.stops = ParseBeatValues(value);
    } else if (tag.name == L"DELAYS") {
        timing.delays = ParseBeatValues(value);
    } else if (tag.name == L"WARPS") {
        timing.warps = ParseBeatValues(value);
    } else if (tag.name == L"FAKES") {
        timing.fakes = ParseBeatValues(value);
    } else {
        return false;
    }
    return true;
}

// Applies a song tag (names, files) to song.
void ApplySongTag(const SimfileTag& tag, SourceSong& song, SongTags& more) {
    const std::wstring value = Trim(tag.values[0]);
    if (tag.name == L"TITLE")
        song.title = value;
    else if (tag.name == L"TITLETRANSLIT")
        song.titleLatin = value;
    else if (tag.name == L"SUBTITLE")
        more.subtitle = value;
    else if (tag.name == L"SUBTITLETRANSLIT")
        more.subtitleLatin = value;
    else if (tag.name == L"ARTIST")
        song.artist = value;
    else if (tag.name == L"ARTISTTRANSLIT")
        song.artistLatin = value;
    else if (tag.name == L"MUSIC")
        song.audioFile = platform::WideToUtf8(value);
    else if (tag.name == L"JACKET")
        more.pictures[0] = value;
    else if (tag.name == L"BACKGROUND")
        more.pictures[1] = value;
    else if (tag.name == L"BANNER")
        more.pictures[2] = value;
}

// Applies a tag inside a .ssc chart block.
void ApplyChartTag(const SimfileTag& tag, ChartBlock& chart) {
    if (ApplyTimingTag(tag, chart.timing)) return;
    if (tag.name == L"STEPSTYPE")
        chart.stepsType = Trim(tag.values[0]);
    else if (tag.name == L"DIFFICULTY")
        chart.difficulty = Trim(tag.values[0]);
    else if (tag.name == L"METER")
        chart.meter = Trim(tag.values[0]);
    else if (tag.name == L"NOTES" || tag.name == L"NOTES2")
        chart.notes = tag.values.back();
}

// A chart of the older kind: #NOTES:type:description:difficulty:meter:radar:notes.
bool OldStyleChart(const SimfileTag& tag, ChartBlock& chart) {
    if (tag.values.size() < 6) return false;
    chart.stepsType = Trim(tag.values[0]);
    chart.difficulty = Trim(tag.values[2]);
    chart.meter = Trim(tag.values[3]);
    chart.notes = tag.values.back();
    chart.songTiming = true;
    return true;
}

// Splits the tags into the song's and the charts' blocks.
void Collect(const std::vector<SimfileTag>& tags, SourceSong& song, SongTags& more,
             std::vector<ChartBlock>& charts) {
    TimingData songTiming;
    ChartBlock ignored;             // takes the tags of the charts beyond the most we read
    ChartBlock* current = nullptr;  // the .ssc chart whose tags follow
    for (const SimfileTag& tag : tags) {
        if (tag.name == L"NOTEDATA") {
            current = &ignored;
            if (charts.size() < kMaxCharts) {
                charts.push_back({});
                charts.back().timing = songTiming;
                current = &charts.back();
            }
        } else if (current != nullptr) {
            ApplyChartTag(tag, *current);
        } else if (tag.name == L"NOTES" || tag.name == L"NOTES2") {
            ChartBlock chart;
            if (charts.size() < kMaxCharts && OldStyleChart(tag, chart))
                charts.push_back(std::move(chart));
        } else if (!ApplyTimingTag(tag, songTiming)) {
            ApplySongTag(tag, song, more);
        }
    }
    // Song tags written after the old-style charts still time them.
    for (ChartBlock& chart : charts)
        if (chart.songTiming) chart.timing = songTiming;
}

// The meter as an integer, at least 1 (unreadable meters count as 1).
int Meter(const std::wstring& text) {
    double value = 1.0;
    if (!ParseNumber(text, value) || !(value >= 1.0)) return 1;
    return value > 9999.0 ? 9999 : static_cast<int>(value);
}

// Times the playable notes of the rows and sorts out the rest into left-out counts.
void TimeNotes(const NoteRows& rows, const BeatClock& clock, SourceChart& chart) {
    std::vector<double> beats;
    std::vector<const RawNote*> playable;
    for (const RawNote& note : rows.notes) {
        switch (note.symbol) {
            case L'M':
                ++chart.leftOut.mines;
                break;
            case L'L':
                ++chart.leftOut.lifts;
                break;
            case L'F':
                ++chart.leftOut.fakes;
                break;
            default:
                beats.push_back(note.beat);
                playable.push_back(&note);
        }
    }
    const std::vector<BeatTime> times = clock.TimeBeats(beats);
    for (size_t i = 0; i < playable.size(); ++i) {
        if (times[i].fake)
            ++chart.leftOut.fakes;
        else if (times[i].skipped)
            ++chart.leftOut.warped;
        else {
            const wchar_t s = playable[i]->symbol;
            const NoteKind kind = s == L'2'   ? NoteKind::kHold
                                  : s == L'4' ? NoteKind::kRoll
                                              : NoteKind::kTap;
            chart.notes.push_back({times[i].seconds, playable[i]->column, kind});
        }
    }
    std::stable_sort(
        chart.notes.begin(), chart.notes.end(),
        [](const SourceNote& a, const SourceNote& b) { return a.seconds < b.seconds; });
    if (!beats.empty())
        chart.tempo = LongestHeldTempo(clock.TempoSpans(beats.front(), beats.back()));
}

// Builds one chart from its block; false with the reason when it cannot be used.
bool BuildChart(const ChartBlock& block, SourceChart& chart, std::string& reason) {
    if (UpperAscii(block.stepsType).rfind(L"LIGHTS", 0) == 0) {
        reason = "a chart of lights";
        return false;
    }
    BeatClock clock;
    if (!clock.Build(block.timing, reason)) return false;
    const NoteRows rows = ReadNoteRows(block.notes);
    chart.columns = rows.columns;
    chart.rank = DifficultyRank(block.difficulty);
    static const wchar_t* const kNames[] = {L"Beginner", L"Easy",      L"Medium",
                                            L"Hard",     L"Challenge", L"Edit"};
    chart.name = kNames[chart.rank];
    chart.meter = Meter(block.meter);
    TimeNotes(rows, clock, chart);
    return true;
}

}  // namespace

int DifficultyRank(const std::wstring& name) {
    static const struct {
        const wchar_t* name;
        int rank;
    } kNames[] = {
        {L"BEGINNER", 0}, {L"EASY", 1},    {L"BASIC", 1},    {L"LIGHT", 1},     {L"MEDIUM", 2},
        {L"ANOTHER", 2},  {L"TRICK", 2},   {L"STANDARD", 2}, {L"DIFFICULT", 2}, {L"HARD", 3},
        {L"SSR", 3},      {L"MANIAC", 3},  {L"HEAVY", 3},    {L"CHALLENGE", 4}, {L"EXPERT", 4},
        {L"ONI", 4},      {L"SMANIAC", 4}, {L"EDIT", 5},
    };
    const std::wstring upper = UpperAscii(Trim(name));
    for (const auto& n : kNames)
        if (upper == n.name) return n.rank;
    return 5;
}

bool ReadSimfile(const std::string& bytes, SourceSong& song, std::string& error) {
    const std::vector<SimfileTag> tags = SplitSimfileTags(DecodeSourceText(bytes));
    SongTags more;
    std::vector<ChartBlock> blocks;
    Collect(tags, song, more, blocks);
    // The subtitle keeps a remix apart from its original.
    const auto join = [](const std::wstring& a, const std::wstring& b) {
        return b.empty() ? a : a.empty() ? b : a + L" " + b;
    };
    if (!song.titleLatin.empty() || !more.subtitleLatin.empty())
        song.titleLatin = join(song.titleLatin.empty() ? song.title : song.titleLatin,
                               more.subtitleLatin.empty() ? more.subtitle : more.subtitleLatin);
    song.title = join(song.title, more.subtitle);
    for (const std::wstring& picture : more.pictures)
        if (!picture.empty()) song.pictures.push_back(platform::WideToUtf8(picture));
    std::string firstProblem;
    for (const ChartBlock& block : blocks) {
        SourceChart chart;
        std::string reason;
        if (BuildChart(block, chart, reason))
            song.charts.push_back(std::move(chart));
        else if (firstProblem.empty())
            firstProblem = reason;
    }
    if (!song.charts.empty()) return true;
    error = blocks.empty() ? "no chart" : "no chart that can be read (" + firstProblem + ")";
    return false;
}

}  // namespace importer
