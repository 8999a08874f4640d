// Timing of simfile notes: offset, tempo changes, stops, delays, warps, fakes and jumps back.
#include <gtest/gtest.h>

#include "import/Timing.h"

using namespace importer;

namespace {

// The times of beats under timing (which must build).
std::vector<BeatTime> Times(const TimingData& timing, const std::vector<double>& beats) {
    BeatClock clock;
    std::string error;
    EXPECT_TRUE(clock.Build(timing, error)) << error;
    return clock.TimeBeats(beats);
}

}  // namespace

TEST(Timing, OffsetAndTempoChanges) {
    TimingData t;
    t.offset = -0.25;  // beat 0 lies 0.25 s into the audio
    t.bpms = {{0, 120}, {4, 240}};
    const auto times = Times(t, {0, 2, 4, 6});
    EXPECT_DOUBLE_EQ(times[0].seconds, 0.25);
    EXPECT_DOUBLE_EQ(times[1].seconds, 1.25);
    EXPECT_DOUBLE_EQ(times[2].seconds, 2.25);
    EXPECT_DOUBLE_EQ(times[3].seconds, 2.75);
    for (const BeatTime& bt : times) EXPECT_FALSE(bt.skipped || bt.fake);
}

TEST(Timing, StopComesAfterItsBeatAndDelayBefore) {
    TimingData stop;
    stop.bpms = {{0, 60}};
    stop.stops = {{2, 0.5}};
    auto times = Times(stop, {1, 2, 2, 3});
    EXPECT_DOUBLE_EQ(times[1].seconds, 2.0);  // hit when the stop begins
    EXPECT_DOUBLE_EQ(times[2].seconds, 2.0);
    EXPECT_DOUBLE_EQ(times[3].seconds, 3.5);  // later notes move by its length

    TimingData delay = stop;
    delay.stops.clear();
    delay.delays = {{2, 0.5}};
    times = Times(delay, {1, 2, 3});
    EXPECT_DOUBLE_EQ(times[0].seconds, 1.0);
    EXPECT_DOUBLE_EQ(times[1].seconds, 2.5);  // the pause comes first
    EXPECT_DOUBLE_EQ(times[2].seconds, 3.5);
}

TEST(Timing, WarpsSkipTheirNotesAndTakeNoTime) {
    TimingData t;
    t.bpms = {{0, 60}};
    t.warps = {{2, 1.5}};  // beats 2 to 3.5 take no time
    const auto times = Times(t, {1, 2, 3, 3.5, 5});
    EXPECT_FALSE(times[0].skipped);
    EXPECT_TRUE(times[1].skipped);
    EXPECT_TRUE(times[2].skipped);
    EXPECT_FALSE(times[3].skipped);
    EXPECT_DOUBLE_EQ(times[3].seconds, 2.0);
    EXPECT_DOUBLE_EQ(times[4].seconds, 3.5);
}

TEST(Timing, NegativeStopsAndTemposJumpBackUntilTheTimeCatchesUp) {
    TimingData stop;
    stop.bpms = {{0, 60}};
    stop.stops = {{2, -1.0}};  // the older way of writing a one-beat warp
    auto times = Times(stop, {2, 2.5, 3, 4});
    EXPECT_FALSE(times[0].skipped);
    EXPECT_TRUE(times[1].skipped);
    EXPECT_FALSE(times[2].skipped);  // back at 2 s exactly: sounds
    EXPECT_DOUBLE_EQ(times[3].seconds, 3.0);

    TimingData tempo;
    tempo.bpms = {{0, 60}, {2, -60}, {3, 60}};
    times = Times(tempo, {2, 3, 3.5, 4, 5});
    EXPECT_FALSE(times[0].skipped);
    EXPECT_TRUE(times[1].skipped);  // 1 s behind
    EXPECT_TRUE(times[2].skipped);
    EXPECT_FALSE(times[3].skipped);  // caught up
    EXPECT_DOUBLE_EQ(times[3].seconds, 2.0);
    EXPECT_DOUBLE_EQ(times[4].seconds, 3.0);
}

TEST(Timing, FakeSectionsMarkTheirNotes) {
    TimingData t;
    t.bpms = {{0, 120}};
    t.fakes = {{4, 2}, {5, 0.5}};
    const auto times = Times(t, {3.9, 4, 5.9, 6});
    EXPECT_FALSE(times[0].fake);
    EXPECT_TRUE(times[1].fake);
    EXPECT_TRUE(times[2].fake);
    EXPECT_FALSE(times[3].fake);
}

TEST(Timing, UnusableTemposAreRefused) {
    BeatClock clock;
    std::string error;
    EXPECT_FALSE(clock.Build(TimingData{}, error));
    TimingData zero;
    zero.bpms = {{0, 120}, {8, 0}};
    EXPECT_FALSE(clock.Build(zero, error));
    EXPECT_NE(error.find("tempo of 0"), std::string::npos);
}

TEST(Timing, BeatValueListsAndTheLongestHeldTempo) {
    const auto values = ParseBeatValues(L" 0.000=120.5 ,4=x, 8 = 60 ,junk, 12=90=1");
    ASSERT_EQ(values.size(), 3u);
    EXPECT_DOUBLE_EQ(values[0].value, 120.5);
    EXPECT_DOUBLE_EQ(values[1].beat, 8);
    EXPECT_DOUBLE_EQ(values[2].value, 90);

    TimingData t;
    t.bpms = {{0, 200}, {16, 100}, {20, 200}};
    BeatClock clock;
    std::string error;
    ASSERT_TRUE(clock.Build(t, error));
    // 4.8 s at 200 (16 beats) + 0.6 s (2 beats) against 2.4 s at 100: time, not beats, counts.
    EXPECT_DOUBLE_EQ(LongestHeldTempo(clock.TempoSpans(0, 22)), 200);
    EXPECT_DOUBLE_EQ(LongestHeldTempo(clock.TempoSpans(15, 20)), 100);
}
