// Chart derivation and timing.
//
// Why the note values are what they are: the loader places a note of value v at distance
// d0 = 1.55 v + 62 u, with u = BPM * 0.006 / 1350 the distance notes move per update. Notes
// move once per update from the 271st update of a run; by the end of the update that starts
// the song (the 333rd) they have moved 63 times, so d = 1.55 v - u. They reach the line
// (d = 0) k = 1.55 v / u - 1 = 348750 v / BPM - 1 updates later. Updates come 62.5 a second
// and the song's audio starts with that update, so a sound at t seconds into the WAV file
// (k = 62.5 t) wants v = (62.5 t + 1) * BPM / 348750.
//
// The run's note motion stops after update 692 + 60 * Second, i.e. 359 + 60 * Second updates
// after the song starts; Second is chosen so that this is no earlier than the song's end.
//
// Depends on: Charts.h.
#include "Charts.h"

#include <cstdio>
#include <map>

#include "Sound.h"

namespace democontent {

namespace {

// Direction of a kick: the beat's place in the bar, mirrored for off-beat kicks.
Direction KickDirection(int step) {
    static const Direction kOnBeat[4] = {kDown, kLeft, kDown, kRight};
    int beat = (step % 16) / 4;
    if (step % 4 != 0) return beat % 2 ? kLeft : kRight;
    return kOnBeat[beat];
}

// Direction of a snare: the back beats alternate left and right.
Direction SnareDirection(int step) { return (step % 16) < 8 ? kLeft : kRight; }

// Collects notes by step; the first direction given for a step wins.
class Lane {
  public:
    // Adds a note unless the step already has one.
    void Add(int step, Direction d) { notes_.emplace(step, d); }
    // The lane in ascending steps.
    std::vector<ChartNote> Notes() const {
        std::vector<ChartNote> out;
        for (const auto& [step, d] : notes_) out.push_back({step, d});
        return out;
    }

  private:
    std::map<int, Direction> notes_;
};

// Blue notes of the melody's onsets on the eighth grid, pointing along its contour.
void AddMelody(const Arrangement& a, Lane& blue) {
    int previous = -1;
    bool flip = false;
    for (const Note& n : a.melody) {
        if (n.step % 2 != 0) continue;
        Direction d = kUp;
        if (previous >= 0 && n.midi < previous) d = kDown;
        if (previous >= 0 && n.midi == previous) d = (flip = !flip) ? kLeft : kRight;
        blue.Add(n.step, d);
        previous = n.midi;
    }
}

}  // namespace

// The notes of one level.
ChartLanes ChartForLevel(const Arrangement& a, int level) {
    Lane red, blue;
    if (level >= 3) AddMelody(a, blue);
    for (const DrumHit& h : a.drums) {
        bool quarter = h.step % 4 == 0, eighth = h.step % 2 == 0;
        if (h.kind == Drum::Kick && h.velocity >= 0.7f && (quarter || (level >= 2 && eighth))) {
            red.Add(h.step, KickDirection(h.step));
        }
        if (h.kind == Drum::Snare && level >= 2 && h.velocity >= 0.7f && eighth) {
            blue.Add(h.step, SnareDirection(h.step));
        }
    }
    if (level >= 3) {
        // Hats on the beats fill the red lane where no kick falls.
        for (const DrumHit& h : a.drums) {
            bool hat = h.kind == Drum::Hat || h.kind == Drum::OpenHat;
            if (hat && h.step % 4 == 0) red.Add(h.step, kUp);
        }
    }
    return {red.Notes(), blue.Notes()};
}

// The note value whose note reaches the line when the given audio frame sounds.
double NoteValue(int bpm, size_t frame) {
    double updates = static_cast<double>(frame) * 62.5 / kSampleRate;
    return (updates + 1.0) * bpm / 348750.0;
}

// The play length that keeps the notes moving until the song has ended.
int PlaySeconds(size_t frames) {
    // Updates of audio: frames * 62.5 / 44100 = frames * 5 / 3528.
    long long needed = static_cast<long long>(frames) * 5 - 359LL * 3528;
    long long perSecond = 60LL * 3528;
    long long seconds = needed <= 0 ? 1 : (needed + perSecond - 1) / perSecond;
    return static_cast<int>(seconds);
}

// The chart file text.
std::string ChartText(const Arrangement& a, const ChartLanes& lanes, int second) {
    static const char kLetters[4] = {'U', 'R', 'D', 'L'};
    std::map<int, std::pair<int, int>> rows;  // step -> red and blue direction, -1 for none
    for (const ChartNote& n : lanes.red) rows[n.step] = {n.direction, -1};
    for (const ChartNote& n : lanes.blue) {
        auto it = rows.try_emplace(n.step, -1, -1).first;
        it->second.second = n.direction;
    }
    std::string out = "BPM[" + std::to_string(a.bpm) + "]\n";
    out += "Second[" + std::to_string(second) + "]\n";
    char value[32];
    for (const auto& [step, dirs] : rows) {
        std::snprintf(value, sizeof value, "%.6f", NoteValue(a.bpm, a.FrameOfStep(step)));
        out += "[";
        if (dirs.first >= 0) out += std::string("R") + kLetters[dirs.first] + ",";
        if (dirs.second >= 0) out += std::string("B") + kLetters[dirs.second] + ",";
        out += value;
        out += "]\n";
    }
    return out;
}

}  // namespace democontent
