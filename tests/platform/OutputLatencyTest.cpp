// The period setting's parser, the environment the sound library's settings travel in, and the
// slot count of the headless measurement report.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/AudioBackend.h"
#include "platform/headless/SlotRecord.h"
#include "platform/sound/OutputLatency.h"

using platform::OutputPeriod;
using platform::ParseOutputPeriod;

TEST(OutputPeriod, ParsesPeriodAndCountAndOff) {
    OutputPeriod p;
    ASSERT_TRUE(ParseOutputPeriod("5x3", p));
    EXPECT_EQ(p.milliseconds, 5);
    EXPECT_EQ(p.periods, 3);
    ASSERT_TRUE(ParseOutputPeriod("100x16", p));
    EXPECT_EQ(p.milliseconds, 100);
    ASSERT_TRUE(ParseOutputPeriod("off", p));
    EXPECT_EQ(p.milliseconds, 0);
    EXPECT_EQ(p.periods, 0);
}

TEST(OutputPeriod, RefusesMalformedAndOutOfRangeValuesAndKeepsTheOld) {
    for (const char* bad :
         {"", "5", "5x", "x3", "5x3ms", "0x3", "101x3", "5x1", "5x17", "-5x3", "5 x 3", "on"}) {
        OutputPeriod p{7, 4};
        EXPECT_FALSE(ParseOutputPeriod(bad, p)) << bad;
        EXPECT_EQ(p.milliseconds, 7) << bad;
        EXPECT_EQ(p.periods, 4) << bad;
    }
}

// Every variable of the environment, in order.
std::vector<std::string> EnvironmentEntries() {
    std::vector<std::string> entries;
    for (char** e = environ; *e != nullptr; ++e) entries.emplace_back(*e);
    return entries;
}

// Other threads (the text library's font loader among them) read the environment while the
// sound output opens; changed under them, it crashed the program now and then. Once prepared,
// opening, closing and forgetting the configuration change nothing of it.
TEST(SoundEnvironment, OpeningTheOutputLeavesThePreparedEnvironmentAlone) {
    platform::PrepareAudioOutput();
    char** const table = environ;
    const std::vector<std::string> entries = EnvironmentEntries();
    std::string error;
    ASSERT_TRUE(platform::SelectLoopbackOutput(true, &error)) << error;
    EXPECT_NE(platform::OpenAudioOutput(nullptr, &error), nullptr) << error;
    platform::SelectLoopbackOutput(false, nullptr);
    platform::ForgetOutputConfig();
    platform::PrepareAudioOutput();
    EXPECT_EQ(environ, table);
    EXPECT_TRUE(EnvironmentEntries() == entries) << "the environment changed";
}

TEST(SlotRecord, CountsSlotsWithoutAFrameBetweenFrames) {
    platform::SlotRecord r;
    for (uint32_t t : {17u, 33u, 49u}) r.FrameAt(t);  // slots 1, 2, 3: none missed
    EXPECT_EQ(r.emptySlots(), 0u);
    r.FrameAt(79);  // late in slot 4: still no slot without a frame
    EXPECT_EQ(r.emptySlots(), 0u);
    r.FrameAt(129);  // slot 8: slots 5, 6 and 7 had no frame
    EXPECT_EQ(r.emptySlots(), 3u);
    EXPECT_EQ(r.frames(), 5u);
}

// The game's own device reports the latency the library gives for it; the loopback device of
// captures and a silent engine report none, so headless runs are not moved.
TEST(OutputLatency, TheOpenDeviceReportsItsLatencyTheLoopbackNone) {
    // The library's null driver is a device everywhere (ctest's environment property sets only
    // the first of the suite's two variables); read at the library's first call.
    setenv("ALSOFT_DRIVERS", "null", 0);
    const platform::OutputLatencyReport report = platform::MeasureOutputLatency();
    if (!report.opened) GTEST_SKIP() << "no sound device to open (not even the null driver)";
    if (report.latencyMs < 0)
        GTEST_SKIP() << "the installed OpenAL Soft has no ALC_SOFT_device_clock: the device "
                        "reports no latency, and the game adds none";
    bool noDevice = false;
    std::string error;
    std::unique_ptr<platform::AudioBackend> device = platform::OpenAudioOutput(&noDevice, &error);
    ASSERT_NE(device, nullptr) << error;
    EXPECT_GT(device->OutputLatencyMs(), 0.0);
    EXPECT_NEAR(device->OutputLatencyMs(), report.latencyMs, 1.0);
    device.reset();
    ASSERT_TRUE(platform::SelectLoopbackOutput(true, &error)) << error;
    std::unique_ptr<platform::AudioBackend> loopback = platform::OpenAudioOutput(nullptr, &error);
    platform::SelectLoopbackOutput(false, nullptr);
    ASSERT_NE(loopback, nullptr) << error;
    EXPECT_EQ(loopback->OutputLatencyMs(), 0.0);
}
