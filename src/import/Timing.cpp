// Timing: one sweep over the timing events and the ascending note beats.
#include "import/Timing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>

#include "import/SourceText.h"

namespace importer {

namespace {

// Event phases at one beat: a warp ending there lets that beat's notes through; delays and
// warps starting there come before the notes; stops after them.
enum Phase { kWarpEnd = 0, kDelay = 1, kWarpStart = 2, kTempo = 3, kNotes = 4, kStop = 5 };

// Smallest tempo taken as a tempo (beats a minute); below it a beat lasts for ever.
constexpr double kSmallestTempo = 1e-6;

// Sorts by beat, keeping the file order of equal beats.
void SortByBeat(std::vector<BeatValue>& values) {
    std::stable_sort(values.begin(), values.end(),
                     [](const BeatValue& a, const BeatValue& b) { return a.beat < b.beat; });
}

}  // namespace

bool ParseNumber(std::wstring_view text, double& value) {
    const std::wstring trimmed = Trim(text);
    std::string ascii;
    for (wchar_t c : trimmed) {
        if (c > 0x7F) return false;
        ascii += static_cast<char>(c);
    }
    const char* begin = ascii.data();
    if (!ascii.empty() && ascii[0] == '+') ++begin;
    const char* end = ascii.data() + ascii.size();
    if (begin == end) return false;
    const auto [stop, code] = std::from_chars(begin, end, value);
    return code == std::errc() && stop == end && std::isfinite(value);
}

std::vector<BeatValue> ParseBeatValues(std::wstring_view text) {
    std::vector<BeatValue> values;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(L',', start);
        if (comma == std::wstring_view::npos) comma = text.size();
        const std::wstring_view pair = text.substr(start, comma - start);
        // Only the first two parts count ("beat=value=more" as in some tags of other kinds).
        const size_t equals = pair.find(L'=');
        if (equals != std::wstring_view::npos) {
            const size_t next = pair.find(L'=', equals + 1);
            BeatValue bv;
            if (ParseNumber(pair.substr(0, equals), bv.beat) &&
                ParseNumber(pair.substr(equals + 1, next == std::wstring_view::npos
                                                        ? std::wstring_view::npos
                                                        : next - equals - 1),
                            bv.value))
                values.push_back(bv);
        }
        start = comma + 1;
    }
    return values;
}

double LongestHeldTempo(const std::vector<TempoSpan>& spans) {
    std::map<double, double> held;
    std::vector<double> order;
    for (const TempoSpan& span : spans) {
        if (held.find(span.tempo) == held.end()) order.push_back(span.tempo);
        held[span.tempo] += span.seconds;
    }
    double best = 0.0, bestSeconds = -1.0;
    for (double tempo : order)
        if (held[tempo] > bestSeconds) {
            best = tempo;
            bestSeconds = held[tempo];
        }
    return best;
}

bool BeatClock::Build(const TimingData& timing, std::string& error) {
    tempos_ = timing.bpms;
    SortByBeat(tempos_);
    if (tempos_.empty()) {
        error = "no tempo (#BPMS)";
        return false;
    }
    for (const BeatValue& t : tempos_)
        if (!std::isfinite(t.value) || std::fabs(t.value) < kSmallestTempo) {
            error = "a tempo of 0 at beat " + std::to_string(t.beat);
            return false;
        }
    offset_ = timing.offset;
    events_.clear();
    for (const BeatValue& t : tempos_) events_.push_back({t.beat, kTempo, t.value});
    for (const BeatValue& s : timing.stops) events_.push_back({s.beat, kStop, s.value});
    for (const BeatValue& d : timing.delays) events_.push_back({d.beat, kDelay, d.value});
    for (const BeatValue& w : timing.warps) {
        if (!(w.value > 0)) continue;
        events_.push_back({w.beat, kWarpStart, w.beat + w.value});
        events_.push_back({w.beat + w.value, kWarpEnd, 0.0});
    }
    std::stable_sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) {
        return a.beat != b.beat ? a.beat < b.beat : a.phase < b.phase;
    });
    fakes_.clear();
    for (const BeatValue& f : timing.fakes)
        if (f.value > 0) fakes_.push_back(f);
    SortByBeat(fakes_);
    fakeEnds_.clear();
    double furthest = -std::numeric_limits<double>::infinity();
    for (const BeatValue& f : fakes_) {
        furthest = std::max(furthest, f.beat + f.value);
        fakeEnds_.push_back(furthest);
    }
    return true;
}

double BeatClock::TempoAt(double beat) const {
    // The first tempo also rules before its beat.
    auto after = std::upper_bound(tempos_.begin(), tempos_.end(), beat,
                                  [](double b, const BeatValue& t) { return b < t.beat; });
    return after == tempos_.begin() ? tempos_.front().value : std::prev(after)->value;
}

bool BeatClock::IsFake(double beat) const {
    auto after = std::upper_bound(fakes_.begin(), fakes_.end(), beat,
                                  [](double b, const BeatValue& f) { return b < f.beat; });
    if (after == fakes_.begin()) return false;
    return beat < fakeEnds_[static_cast<size_t>(after - fakes_.begin()) - 1];
}

std::vector<BeatTime> BeatClock::TimeBeats(const std::vector<double>& sortedBeats) const {
    std::vector<BeatTime> times;
    times.reserve(sortedBeats.size());
    double beat = 0.0, seconds = -offset_, tempo = TempoAt(0.0), warpEnd = 0.0;
    double peak = -std::numeric_limits<double>::infinity();
    size_t next = 0;
    // Moves the sweep to beat `to`, where the time may jump.
    auto advance = [&](double to) {
        if (to > beat && beat >= warpEnd) seconds += (to - beat) * 60.0 / tempo;
        beat = std::max(beat, to);
        peak = std::max(peak, seconds);
    };
    for (double noteBeat : sortedBeats) {
        while (next < events_.size() &&
               (events_[next].beat < noteBeat ||
                (events_[next].beat == noteBeat && events_[next].phase < kNotes))) {
            const Event& e = events_[next++];
            if (e.beat < 0.0) {
                // Before beat 0 only the tempo and a warp reaching past it matter.
                if (e.phase == kTempo) tempo = e.value;
                if (e.phase == kWarpStart) warpEnd = std::max(warpEnd, e.value);
                continue;
            }
            advance(e.beat);
            if (e.phase == kTempo)
                tempo = e.value;
            else if (e.phase == kStop || e.phase == kDelay)
                seconds += e.value;
            else if (e.phase == kWarpStart)
                warpEnd = std::max(warpEnd, e.value);
            // A pause of negative length jumps back: the times before it still count as passed.
            peak = std::max(peak, seconds);
        }
        const double before = peak;
        advance(noteBeat);
        BeatTime t;
        t.seconds = seconds;
        t.skipped = beat < warpEnd || seconds < before || !std::isfinite(seconds);
        t.fake = IsFake(noteBeat);
        times.push_back(t);
    }
    return times;
}

std::vector<TempoSpan> BeatClock::TempoSpans(double fromBeat, double toBeat) const {
    std::vector<TempoSpan> spans;
    if (!(toBeat > fromBeat)) return {{0.0, TempoAt(fromBeat)}};
    double beat = fromBeat, tempo = TempoAt(fromBeat);
    for (const BeatValue& t : tempos_) {
        if (t.beat <= fromBeat) continue;
        if (t.beat >= toBeat) break;
        if (tempo > 0) spans.push_back({(t.beat - beat) * 60.0 / tempo, tempo});
        beat = t.beat;
        tempo = t.value;
    }
    if (tempo > 0) spans.push_back({(toBeat - beat) * 60.0 / tempo, tempo});
    return spans;
}

}  // namespace importer
