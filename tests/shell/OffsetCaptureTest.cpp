// The audio offset heard end to end: the same autoplayed run captured with --offset 0, +37 and
// -37 judges the same and differs only in where the song sounds: 37 ms (1632 sample frames at
// 44.1 kHz) earlier into itself, or after as much silence; without --offset the capture is the
// offset-0 one byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "../media/WavBuilder.h"
#include "support/CaptureSamples.h"
#include "support/HeadlessRun.h"

namespace fs = std::filesystem;

namespace {

const fs::path kMinimal = fs::path(LYRANDEL_TEST_DIR) / "data/minimal";
constexpr long kShift = 1632;  // 37 ms at 44100 Hz, to the nearest frame

// The first frame that is not silent, or -1.
long Onset(const std::vector<float>& samples) {
    for (size_t i = 0; i < samples.size(); ++i)
        if (samples[i] != 0.0f) return long(i);
    return -1;
}

class OffsetCapture : public ::testing::Test {
  protected:
    HeadlessRun run{kMinimal};

    void SetUp() override {
        // No key sound over the song; a song whose left channel counts, two seconds long.
        std::ofstream(run.work / "Config.cfg")
            << "Volume[1]\nBGMVolume[1]\nSEVolume[0]\nHitGap[0]\nHitLine[500]\nHiSpeed[2]\n";
        std::vector<int16_t> s;
        for (int i = 0; i < 2 * 44100; ++i) s.push_back(int16_t(i % 30000 + 1)), s.push_back(0);
        const wavtest::Bytes song = wavtest::PcmFile(2, s);
        std::ofstream(run.work / "Data/Music/Etude/Etude.wav", std::ios::binary)
            .write(reinterpret_cast<const char*>(song.data()), std::streamsize(song.size()));
    }

    // Plays Etude's first level with the autoplay and the capture; returns the left channel.
    std::vector<float> Capture(const std::string& extra) {
        const fs::path wav = run.work.string() + ".wav";
        EXPECT_EQ(run.Run("--headless --play Etude --autoplay --audio-out '" + wav.string() +
                              "' --data '" + run.work.string() + "' " + extra,
                          "LYRANDEL_BENCH_NULL_GPU=1"),
                  0)
            << run.errors;
        results.push_back(run.output);
        std::vector<float> left = testsupport::ChannelSamples(wav);
        fs::remove(wav);
        return left;
    }

    std::vector<std::string> results;
};

}  // namespace

TEST_F(OffsetCapture, TheSongMovesByExactlyTheOffsetAndNothingElseDoes) {
    const std::vector<float> plain = Capture("");
    const std::vector<float> zero = Capture("--offset 0");
    const std::vector<float> early = Capture("--offset 37");
    const std::vector<float> late = Capture("--offset -37");
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(zero, plain);
    for (const std::string& result : results) EXPECT_EQ(result, results[0]);
    EXPECT_NE(results[0].find("Perfect 9,"), std::string::npos) << results[0];

    // Every capture has the same length; the song starts in the same frame's share.
    ASSERT_EQ(early.size(), plain.size());
    ASSERT_EQ(late.size(), plain.size());
    const long start = Onset(plain);
    ASSERT_GT(start, 0);
    EXPECT_EQ(Onset(early), start);
    EXPECT_EQ(Onset(late), start + kShift);
    for (long i = start; i + kShift < long(plain.size()); ++i) {
        ASSERT_EQ(early[size_t(i)], plain[size_t(i + kShift)]) << "frame " << i;
        ASSERT_EQ(late[size_t(i + kShift)], plain[size_t(i)]) << "frame " << i;
    }
}
