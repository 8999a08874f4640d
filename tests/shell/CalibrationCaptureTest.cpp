// The calibration heard and played end to end: its clicks sound exactly 500 ms apart from the
// first beat on, to the sample of the capture, and a player pressing 20 ms after each click
// (times within updates from the script) is offered +20 ms, which Space takes into Timing.cfg.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "../media/WavBuilder.h"
#include "support/CaptureSamples.h"
#include "support/HeadlessRun.h"

namespace fs = std::filesystem;

namespace {

const fs::path kMinimal = fs::path(LYRANDEL_TEST_DIR) / "data/minimal";

// Writes a sound file of the content: a 10 ms burst, or silence.
void WriteEffect(const fs::path& path, bool burst) {
    std::vector<int16_t> s(441 * 2, burst ? 16000 : 0);
    const wavtest::Bytes bytes = wavtest::PcmFile(2, s);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace

TEST(CalibrationCapture, ClicksAreExactAndTheMedianIsTaken) {
    HeadlessRun run(kMinimal);
    WriteEffect(run.work / "Data/SE/タンバリンの音.wav", true);
    WriteEffect(run.work / "Data/SE/card-turn-over1.wav", false);
    WriteEffect(run.work / "Data/SE/kira2.wav", false);
    // Title, E, A to the last item, Space opens the calibration, Space at frame 20 starts.
    std::string script = "2 press E\n4 press A\n6 press SPACE\n20 press SPACE\n";
    const long start = 20;
    long last = 0;
    for (int k = 0; k < 16; ++k) {
        const double at = 1000 + 500.0 * k + 20;  // ms into the run
        const long update = long(std::floor(at / 16)) + 1;
        char line[64];
        std::snprintf(line, sizeof line, "%ld press SPACE @%.3f\n", start + update,
                      at - (update - 1) * 16);
        script += line;
        last = start + update;
    }
    script += std::to_string(last + 4) + " press SPACE\n" + std::to_string(last + 8) + " quit\n";
    const fs::path wav = run.work.string() + ".wav";
    ASSERT_EQ(run.Play(script, "--audio-out '" + wav.string() + "'"), 0) << run.errors;
    EXPECT_EQ(run.Read("Timing.cfg"), "GlobalOffset[20]\nDeviceLatency[1]\nErrorBar[1]\n");

    // The run's time 0 is frame 20's moment, whose share of the capture begins at 19 * 16 ms.
    std::vector<long> clicks;
    for (long onset : testsupport::SoundOnsets(testsupport::ChannelSamples(wav), 0.0f))
        if (onset > 19 * 16 * 44.1 + 100) clicks.push_back(onset);
    fs::remove(wav);
    ASSERT_GE(clicks.size(), 16u);
    for (size_t k = 0; k < clicks.size(); ++k)
        EXPECT_NEAR(clicks[k], (19 * 16 + 1000 + 500.0 * double(k)) * 44.1, 1.0) << "click " << k;
}
