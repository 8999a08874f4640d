// Timing: when a simfile's beats sound. Beat 0 lies at minus the offset in seconds; tempo
// changes, stops (a pause after the notes of their beat), delays (a pause before them), warps
// (beats that take no time; their notes are skipped) and fake sections. Negative tempos and
// stops, the older way of writing a warp, jump back in time: notes are skipped until the time
// has caught up again.
// Depends on: nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace importer {

struct BeatValue {
    double beat = 0.0;
    double value = 0.0;
};

// The timing tags of a song or of one chart.
struct TimingData {
    double offset = 0.0;
    std::vector<BeatValue> bpms, stops, delays, warps, fakes;
};

// Reads "beat=value,beat=value" (blanks allowed); pairs that are not two numbers are left out.
std::vector<BeatValue> ParseBeatValues(std::wstring_view text);
// Reads one decimal number (blanks around it allowed); false when the text is not one.
bool ParseNumber(std::wstring_view text, double& value);

// Where a beat's notes fall.
struct BeatTime {
    double seconds = 0.0;  // into the audio
    bool skipped = false;  // in a warp or before the time caught up after a jump back
    bool fake = false;     // in a fake section
};

// Time spent at one tempo.
struct TempoSpan {
    double seconds = 0.0;
    double tempo = 0.0;
};
// The tempo with the most time in total (the first of equals); 0 without any time.
double LongestHeldTempo(const std::vector<TempoSpan>& spans);

class BeatClock {
  public:
    // False with the reason in error when there is no tempo or a tempo of 0 or not a number.
    bool Build(const TimingData& timing, std::string& error);
    // The time of each beat of sortedBeats (ascending, none below 0), in one pass.
    std::vector<BeatTime> TimeBeats(const std::vector<double>& sortedBeats) const;
    // The time spent at each tempo between two beats (warps not taken out).
    std::vector<TempoSpan> TempoSpans(double fromBeat, double toBeat) const;

  private:
    // One change of the timing, in the order in which a sweep meets them.
    struct Event {
        double beat;
        int phase;  // order at one beat; notes of that beat come between delays and stops
        double value;
    };
    std::vector<Event> events_;
    std::vector<BeatValue> tempos_;  // ascending beats
    std::vector<BeatValue> fakes_;   // ascending starts
    std::vector<double> fakeEnds_;   // furthest end of the fake sections up to each start
    double offset_ = 0.0;
    double TempoAt(double beat) const;
    bool IsFake(double beat) const;
};

}  // namespace importer
