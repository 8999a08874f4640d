// The 16 ms slot rule: which clock readings run a frame.
#include <gtest/gtest.h>

#include "shell/Pacing.h"

namespace {

// The first clock value from `from` on at which a frame runs.
uint32_t FirstDue(const FramePacing& p, uint32_t from) {
    uint32_t t = from;
    while (!p.Due(t)) ++t;
    return t;
}

// A pacing whose last frame ran at `at`.
FramePacing After(uint32_t at) {
    FramePacing p;
    p.Start(0);
    p.Advance(at);
    return p;
}

}  // namespace

TEST(Pacing, SlotBoundariesAfterAFrame) {
    EXPECT_EQ(FirstDue(After(1000), 1000), 1009u);  // remainder 8: not at 1008
    EXPECT_EQ(FirstDue(After(1007), 1007), 1009u);  // remainder 15: 2 ms later
    EXPECT_EQ(FirstDue(After(1008), 1008), 1025u);  // remainder 0: 17 ms later
    for (uint32_t at : {1000u, 1007u, 1008u, 4095u})
        EXPECT_EQ(After(at).NextDue(), FirstDue(After(at), at));
}

TEST(Pacing, FirstFrameNeedsMoreThan16ms) {
    FramePacing p;
    p.Start(5000);
    EXPECT_FALSE(p.Due(5016));
    EXPECT_TRUE(p.Due(5017));
    EXPECT_EQ(p.NextDue(), 5017u);
}

TEST(Pacing, LongFrameIsNotMadeUp) {
    FramePacing p = After(1000);
    // The frame took 50 ms: the next poll runs one frame, and only one.
    EXPECT_TRUE(p.Due(1050));
    p.Advance(1050);
    EXPECT_FALSE(p.Due(1051));
    EXPECT_EQ(FirstDue(p, 1050), 1057u);
}

TEST(Pacing, ClockWrap) {
    FramePacing p = After(0xFFFFFFF8u);  // 8 ms before the wrap, remainder 8
    EXPECT_EQ(p.remainder(), 8u);
    EXPECT_TRUE(p.Due(1));  // difference 9, plus 8 is 17
    EXPECT_FALSE(p.Due(0));
    EXPECT_EQ(p.NextDue(), 1u);
}
