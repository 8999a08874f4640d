// ChartConversion: filtering by the audio's span, lane placement, values and the text.
#include "import/ChartConversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace importer {

namespace {

// The game's pace: updates a second of real time, updates it counts as one second of play, and
// the updates the notes move after the song starts when Second is 0.
constexpr double kUpdatesPerSecond = 62.5;
constexpr double kUpdatesPerPlaySecond = 60.0;
constexpr double kMotionUpdatesAtSecondZero = 359.0;

// "N thing" or "N things"-style parts: singular and plural written out.
void AddPart(std::string& text, int count, const char* one, const char* many) {
    if (count == 0) return;
    text += "; " + std::to_string(count) + " " + (count == 1 ? one : many);
}

// The shortest text that reads back as the same single-precision value.
std::string FloatText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    return std::string(buffer, result.ptr);
}

}  // namespace

int ChartBpm(double tempo) {
    if (!(tempo > 0) || !std::isfinite(tempo)) return 120;
    return static_cast<int>(std::clamp(std::round(tempo), 1.0, 600.0));
}

double NoteValue(double seconds, int bpm) { return (62.5 * seconds + 1.0) * bpm / 348750.0; }

int ChartSecond(double audioSeconds) {
    // The notes move from the update that starts the song (333) to update 692 + 60 x Second:
    // 359 + 60 x Second updates of 16 ms. The small margin keeps a length that is exactly a
    // whole count of updates from asking one second more through rounding.
    const double needed =
        (kUpdatesPerSecond * audioSeconds - kMotionUpdatesAtSecondZero) / kUpdatesPerPlaySecond;
    if (!(needed > 0)) return 0;
    return static_cast<int>(std::min(std::ceil(needed - 1e-9), 1e9));
}

ConvertedChart ConvertChart(const SourceChart& chart, double audioSeconds) {
    ConvertedChart out;
    out.bpm = ChartBpm(chart.tempo);
    out.second = ChartSecond(audioSeconds);
    out.report.leftOut = chart.leftOut;
    std::vector<SourceNote> heard;
    for (const SourceNote& note : chart.notes) {
        if (note.seconds < 0.0)
            ++out.report.beforeAudio;
        else if (!(note.seconds <= audioSeconds))
            ++out.report.afterAudio;
        else
            heard.push_back(note);
    }
    out.notes = PlaceNotes(heard, LanePlaces(chart.columns), out.report.placement);
    out.report.notes = static_cast<int>(out.notes.size());
    return out;
}

std::string ChartFileText(const ConvertedChart& chart) {
    static constexpr char kLetters[4] = {'U', 'R', 'D', 'L'};
    std::string text =
        "BPM[" + std::to_string(chart.bpm) + "]\nSecond[" + std::to_string(chart.second) + "]\n";
    for (const PlacedNote& note : chart.notes) {
        text += '[';
        text += note.place.lane == Lane::kRed ? 'R' : 'B';
        text += kLetters[note.place.direction & 3];
        text += ' ' + FloatText(NoteValue(note.seconds, chart.bpm)) + "]\n";
    }
    return text;
}

std::string ReportText(const ChartReport& r) {
    std::string text = std::to_string(r.notes) + (r.notes == 1 ? " note" : " notes");
    AddPart(text, r.placement.holds, "hold as a tap", "holds as taps");
    AddPart(text, r.placement.moved, "moved to the other lane", "moved to the other lane");
    AddPart(text, r.placement.tooClose, "dropped (too close in one lane)",
            "dropped (too close in one lane)");
    AddPart(text, r.beforeAudio, "dropped (before the audio starts)",
            "dropped (before the audio starts)");
    AddPart(text, r.afterAudio, "dropped (after the audio ends)", "dropped (after the audio ends)");
    AddPart(text, r.leftOut.warped, "skipped by a warp", "skipped by warps");
    AddPart(text, r.leftOut.mines, "mine left out", "mines left out");
    AddPart(text, r.leftOut.lifts, "lift left out", "lifts left out");
    AddPart(text, r.leftOut.fakes, "fake left out", "fakes left out");
    return text;
}

}  // namespace importer
