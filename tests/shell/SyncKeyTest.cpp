// The sync key end to end, heard: a player who presses 20 ms after each click of the song
// they hear has a mean error of +20 ms; Z on the result sets the song's offset to +20 ms, so
// the next run starts the song 20 ms into itself; the same player, pressing 20 ms after each
// click heard, now presses on the notes, and Z leaves the offset where it is.
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
// The clicks of the song, in seconds; one red Up note on each.
const double kClicks[] = {1.0, 1.5, 2.0, 2.5};

class SyncKey : public ::testing::Test {
  protected:
    HeadlessRun run{kMinimal};

    void SetUp() override {
        std::ofstream(run.work / "Config.cfg")
            << "Volume[1]\nBGMVolume[1]\nSEVolume[0]\nHitGap[0]\nHitLine[500]\nHiSpeed[2]\n";
        std::vector<int16_t> s(size_t(3.5 * 44100) * 2, 0);
        for (double t : kClicks)
            for (size_t i = 0; i < 441; ++i) s[2 * (size_t(t * 44100) + i)] = 16000;
        const wavtest::Bytes song = wavtest::PcmFile(2, s);
        std::ofstream(run.work / "Data/Music/Etude/Etude.wav", std::ios::binary)
            .write(reinterpret_cast<const char*>(song.data()), std::streamsize(song.size()));
        // v = (62.5 t + 1) BPM / 348750: each note reaches the line with its click.
        std::ofstream chart(run.work / "Data/Music/Etude/1.nsd");
        chart << "BPM[150]\nSecond[3]\n";
        for (double t : kClicks) {
            char line[64];
            std::snprintf(line, sizeof line, "[RU %.9f]\n", (62.5 * t + 1) * 150 / 348750);
            chart << line;
        }
    }

    // Where the song's clicks sound, in milliseconds of the capture: the song as this run
    // would play it, with the offsets in force (the autoplay's presses are silent).
    std::vector<double> HeardClicks() {
        const fs::path wav = run.work.string() + ".wav";
        EXPECT_EQ(run.Run("--headless --play Etude --autoplay --audio-out '" + wav.string() +
                              "' --data '" + run.work.string() + "'",
                          "LYRANDEL_BENCH_NULL_GPU=1"),
                  0)
            << run.errors;
        std::vector<double> ms;
        for (long onset : testsupport::SoundOnsets(testsupport::ChannelSamples(wav), 0.1f))
            ms.push_back(onset / 44.1);
        fs::remove(wav);
        return ms;
    }

    // Plays the chart pressing W lateMs after each click heard, then Z on the result.
    // Frame n's slot is the capture's ms (n - 2) * 16 to (n - 1) * 16: the capture renders
    // each frame's share after it, and a press is seen by the first frame after it.
    void PlayLateAndSync(const std::vector<double>& clicks, double lateMs) {
        std::string script;
        for (double click : clicks) {
            const double at = click + lateMs;
            const long frame = long(std::floor(at / 16)) + 2;
            char line[64];
            std::snprintf(line, sizeof line, "%ld press W @%.3f\n", frame, at - (frame - 2) * 16);
            script += line;
        }
        script += "1000 press Z\n1520 quit\n";  // the result line comes when the ticker ends
        ASSERT_EQ(run.Play(script, "--play Etude"), 0) << run.errors;
        EXPECT_NE(run.output.find("Perfect 4, Great 0"), std::string::npos) << run.output;
    }
};

}  // namespace

TEST_F(SyncKey, ZCancelsTheMeanErrorOfTheNextRunOfTheSamePresses) {
    const std::vector<double> first = HeardClicks();
    ASSERT_EQ(first.size(), 4u);
    PlayLateAndSync(first, 20.0);
    EXPECT_EQ(run.Read("SongOffsets.txt"), "20\tEtude\n");

    const std::vector<double> second = HeardClicks();
    ASSERT_EQ(second.size(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(second[i], first[i] - 20.0, 0.03);
    PlayLateAndSync(second, 20.0);
    EXPECT_EQ(run.Read("SongOffsets.txt"), "20\tEtude\n");
}
