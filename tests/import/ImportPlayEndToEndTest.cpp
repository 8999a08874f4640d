// Imported songs played through the program: simfiles with Ogg and FLAC audio and a beatmap
// archive with MP3, written here with a click at each note's time, are imported and checked,
// then every level is played to its result by the autoplay with the sound captured. Each run
// must be all Perfect, and every click of the song file must sound within one update of the
// update in which its note reaches the hit line.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "support/HeadlessRun.h"
#include "support/ImportSongWriter.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

const fs::path kMinimal = fs::path(LYRANDEL_TEST_DIR) / "data/minimal";

// The Game scene starts the song in its update 333; a direct start makes that the 333rd frame.
constexpr long kSongUpdate = 333;
// The capture renders, after each frame, that frame's 705.6 sample frames of 44100 Hz sound,
// carrying the fraction: frame n's share begins at floor((n - 1) * 705.6). A sound started
// during an update begins with that frame's share, so a sound t seconds into the song file is
// heard at ShareStart(333) + 44100 t (the clicks of every codec here are found there, two
// samples in for the threshold), and the update that shows a note on the hit line is heard
// from ShareStart(that update) on.
constexpr double kSamplesPerUpdate = 705.6;
long ShareStart(long frame) { return (frame - 1) * 7056 / 10; }

// The updates in which a chart file's notes reach the hit line, one per note: a note of value v
// arrives 348750 v / BPM - 1 updates after the update that starts the song.
std::vector<long> ArrivalUpdates(const std::string& chart) {
    std::istringstream lines(chart);
    std::string line;
    double bpm = 0.0;
    std::vector<long> arrivals;
    while (std::getline(lines, line)) {
        if (line.rfind("BPM[", 0) == 0) bpm = std::atof(line.c_str() + 4);
        if (line.size() < 4 || line[0] != '[') continue;
        const double value = std::atof(line.c_str() + line.find_last_of(" ,") + 1);
        arrivals.push_back(kSongUpdate + std::lround(348750.0 * value / bpm) - 1);
    }
    return arrivals;
}

// Where the clicks of a captured WAV file begin: the first sample of the left channel above
// a threshold after at least 50 ms below it (the clicks are 10 ms on silence). The threshold
// lies above the lossy codecs' pre-echo (about 0.05 here) and is crossed within three samples
// of a click's start.
std::vector<long> ClickOnsets(const fs::path& wav) {
    SF_INFO info{};
    SNDFILE* file = sf_open(wav.c_str(), SFM_READ, &info);
    if (file == nullptr) return {};
    std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    std::vector<long> onsets;
    long quietSince = 0;
    for (long i = 0; i < info.frames; ++i) {
        if (std::fabs(samples[static_cast<size_t>(i * info.channels)]) < 0.12f) continue;
        if (i - quietSince > 2205) onsets.push_back(i);
        quietSince = i;
    }
    return onsets;
}

class ImportPlay : public ::testing::Test {
  protected:
    HeadlessRun run{kMinimal};
    fs::path sources = run.work.string() + "-sources";
    // How far each click fell from its note's arrival, in sample frames, over every run.
    std::vector<long> offsets;

    void SetUp() override {
        // The key sound would sound in the very updates the clicks are looked for in.
        std::ofstream(run.work / "Config.cfg")
            << "Volume[1]\nBGMVolume[1]\nSEVolume[0]\nHitGap[0]\nHitLine[500]\nHiSpeed[2]\n";
    }
    void TearDown() override {
        fs::remove_all(sources);
        long farthest = 0;
        for (long d : offsets) farthest = std::max(farthest, std::labs(d));
        RecordProperty("farthest_click_from_arrival_samples", std::to_string(farthest));
    }

    // Runs the program on the private folder with the null GPU.
    int Run(const std::string& args) {
        return run.Run(args + " --data '" + run.work.string() + "'", "LYRANDEL_BENCH_NULL_GPU=1");
    }

    // Plays a level with the autoplay and the capture and checks the result; that the capture
    // holds one click per distinct click time of the song file, each heard 44100 t sample
    // frames after the start of the song's update (give or take the codec); and that each
    // note's click sounds within one update of the start of its arrival update.
    void PlayLevel(const std::string& title, int level, const std::vector<double>& noteTimes,
                   const std::vector<double>& clickTimes) {
        SCOPED_TRACE(title + " level " + std::to_string(level));
        const std::vector<long> arrivals =
            ArrivalUpdates(run.Read("Data/Music/" + title + "/" + std::to_string(level) + ".nsd"));
        ASSERT_EQ(arrivals.size(), noteTimes.size());
        const fs::path wav = run.work.string() + ".wav";
        ASSERT_EQ(Run("--headless --play '" + title + "' --level " + std::to_string(level) +
                      " --autoplay --audio-out '" + wav.string() + "'"),
                  0)
            << run.errors;
        const size_t n = noteTimes.size();
        EXPECT_EQ(run.output, "result: " + title + " level " + std::to_string(level) + ": score " +
                                  std::to_string(500 * n + 50000) + ", max combo " +
                                  std::to_string(n) + ", Perfect " + std::to_string(n) +
                                  ", Great 0, OK 0, Bad 0, Miss 0\n");
        const std::vector<long> onsets = ClickOnsets(wav);
        fs::remove(wav);
        const std::set<double> clicks(clickTimes.begin(), clickTimes.end());
        ASSERT_EQ(onsets.size(), clicks.size());
        auto onset = onsets.begin();
        for (double t : clicks) {
            EXPECT_NEAR(*onset++ - ShareStart(kSongUpdate), t * 44100, 32) << "click at " << t;
        }
        for (size_t i = 0; i < n; ++i) {
            const long heard = onsets[static_cast<size_t>(
                std::distance(clicks.begin(), clicks.find(noteTimes[i])))];
            offsets.push_back(heard - ShareStart(arrivals[i]));
            EXPECT_LE(std::labs(offsets.back()), kSamplesPerUpdate) << "note at " << noteTimes[i];
        }
    }
};

}  // namespace

TEST_F(ImportPlay, ImportedSongsPlayAllPerfectWithEachClickAtItsArrival) {
    SimfileSong ogg;  // 8 columns, a tempo change and a stop with a note on its beat
    ogg.title = "Ogg Steps";
    ogg.offset = -0.1;
    ogg.bpms = {{0, 120}, {4, 160}};
    ogg.stops = {{3, 0.4}};
    ogg.notes = {{1, 0},   {1.5, 5}, {2, 2}, {2, 6}, {3, 3},
                 {3.5, 4}, {4, 1},   {5, 7}, {6, 0}, {7, 4}};
    ogg.audioSeconds = 4.0;
    const WrittenSong oggSong = WriteSimfileSong(sources / "ogg", ogg);

    SimfileSong flac;  // 4 columns
    flac.title = "Flac Steps";
    flac.stepsType = "dance-single";
    flac.columns = 4;
    flac.bpms = {{0, 150}};
    flac.notes = {{1, 0}, {2, 3}, {3, 1}, {3, 2}, {4, 0}, {5, 2}, {6, 3}, {7, 1}, {8, 0}};
    flac.audioSeconds = 4.0;
    flac.audio = AudioKind::kFlac;
    const WrittenSong flacSong = WriteSimfileSong(sources / "flac", flac);

    BeatmapSet mp3;  // 8 keys, two levels
    mp3.title = "Mp3 Keys";
    mp3.audioSeconds = 4.0;
    const std::vector<std::pair<int, int>> easy = {
        {500, 0}, {1000, 4}, {1500, 2}, {2000, 7}, {2500, 1}};
    std::vector<std::pair<int, int>> hard;
    for (int i = 0; i < 12; ++i) hard.push_back({400 + 250 * i, (i * 3) % 8});
    hard.push_back({400, 6});
    std::sort(hard.begin(), hard.end());
    mp3.difficulties = {{"Easy", easy}, {"Hard", hard}};
    const WrittenSong mp3Song = WriteBeatmapArchive(sources / "keys.osz", mp3);

    ASSERT_EQ(Run("--import '" + sources.string() + "'"), 0) << run.output << run.errors;
    int levels = 0;  // every level played below, none with a note changed on the way
    std::istringstream report(run.output);
    for (std::string line; std::getline(report, line);) {
        if (line.rfind("  level ", 0) != 0) continue;
        ++levels;
        EXPECT_TRUE(line.ends_with(" notes")) << line;
    }
    EXPECT_EQ(levels, 4) << run.output;
    ASSERT_EQ(Run("--check"), 0) << run.output << run.errors;

    PlayLevel("Ogg Steps", 1, oggSong.noteTimes, oggSong.noteTimes);
    PlayLevel("Flac Steps", 1, flacSong.noteTimes, flacSong.noteTimes);
    std::vector<double> hardTimes;
    for (const auto& note : hard) hardTimes.push_back(note.first / 1000.0);
    std::vector<double> mp3Clicks = mp3Song.noteTimes;
    mp3Clicks.insert(mp3Clicks.end(), hardTimes.begin(), hardTimes.end());
    PlayLevel("Mp3 Keys", 1, mp3Song.noteTimes, mp3Clicks);
    PlayLevel("Mp3 Keys", 2, hardTimes, mp3Clicks);
}
