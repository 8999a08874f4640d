// The generated demo content tree: repeatable to the byte, complete, with images of the sizes
// the screens use and sounds in the form the game's reader accepts, free of clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>

#include "GeneratedContent.h"
#include "media/WAVFileReader.h"

namespace fs = std::filesystem;
using namespace testcontent;

namespace {

// Every file of a tree, by path relative to its root, with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = ReadFile(e.path());
    }
    return files;
}

// Width, height and colour type from a PNG header; {0, 0, -1} when it is no PNG.
struct PngHeader {
    uint32_t width = 0, height = 0;
    int colourType = -1;
};
PngHeader ReadPngHeader(const fs::path& path) {
    std::string b = ReadFile(path);
    PngHeader h;
    if (b.size() < 26 || b.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        b.compare(12, 4, "IHDR") != 0) {
        return h;
    }
    auto be = [&](size_t o) {
        return (uint32_t(uint8_t(b[o])) << 24) | (uint32_t(uint8_t(b[o + 1])) << 16) |
               (uint32_t(uint8_t(b[o + 2])) << 8) | uint32_t(uint8_t(b[o + 3]));
    };
    h.width = be(16);
    h.height = be(20);
    h.colourType = static_cast<uint8_t>(b[25]);
    return h;
}

// True when the game's WAV reader finds a playable format and samples in the file.
bool GameReaderAccepts(const fs::path& path) {
    std::string b = ReadFile(path);
    DirectX::WaveFileInfo info;
    if (DirectX::ParseWavData(reinterpret_cast<const uint8_t*>(b.data()), b.size(), info) != 0) {
        return false;
    }
    return DirectX::IsValidWaveFormat(info.format, info.formatBytes) && info.sampleBytes > 0;
}

// Largest magnitude of a run of interleaved samples.
int Peak(const Wav& w, size_t firstFrame, size_t frames) {
    int peak = 0;
    size_t end = std::min(w.Frames(), firstFrame + frames);
    for (size_t i = firstFrame * 2; i < end * 2; ++i)
        peak = std::max(peak, std::abs(int(w.samples[i])));
    return peak;
}

#define REQUIRE_TREE()                                           \
    if (!HaveGenerator()) GTEST_SKIP() << "generator not built"; \
    const fs::path& tree = SharedTree();                         \
    ASSERT_FALSE(tree.empty()) << "the generator failed"

}  // namespace

TEST(DemoContent, TwoRunsWriteTheSameBytesAndKeepThePlayersSettings) {
    REQUIRE_TREE();
    fs::path again = MakeTempDir();
    const std::string players = "Volume[0.500000]\n";
    { std::ofstream(again / "Config.cfg") << players; }
    ASSERT_EQ(Generate(again), 0);
    auto first = Snapshot(tree), second = Snapshot(again);
    EXPECT_EQ(second["Config.cfg"], players);
    second.erase("Config.cfg");
    EXPECT_EQ(first["Config.cfg"],
              "Volume[1.000000]\nBGMVolume[1.000000]\nSEVolume[1.000000]\nHitGap[0.000000]\n"
              "HitLine[500.000000]\nHiSpeed[2.000000]\n");
    first.erase("Config.cfg");
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        EXPECT_TRUE(second.count(name) && second[name] == bytes) << name << " differs";
    }
    fs::remove_all(again);
    EXPECT_NE(Generate(""), 0) << "an empty folder name is refused";
}

TEST(DemoContent, TexturesHaveTheSizesTheScreensUse) {
    REQUIRE_TREE();
    const fs::path t = tree / "Data" / "Texture";
    std::map<std::string, std::pair<uint32_t, uint32_t>> sizes = {
        {"Hit.png", {32, 32}},
        {"kk.png", {550, 720}},
        {"SelectMusic.png", {256, 256}},
        {"lumo-btleffect112f.png", {600, 360}}};
    for (const char* d : {"Up", "Down", "Right", "Left"}) {
        for (const char* colour : {"_Red.png", "_Blue.png"})
            sizes[std::string(d) + colour] = {32, 32};
    }
    for (const auto& [name, size] : sizes) {
        PngHeader h = ReadPngHeader(t / name);
        EXPECT_EQ(h.width, size.first) << name;
        EXPECT_EQ(h.height, size.second) << name;
        EXPECT_EQ(h.colourType, 6) << name << " is not RGBA";
    }
    uintmax_t total = 0;
    for (const auto& e : fs::recursive_directory_iterator(tree)) {
        if (e.is_regular_file()) total += e.file_size();
    }
    EXPECT_LT(total, 60u * 1024 * 1024);
}

TEST(DemoContent, SoundsArePlainStereoPcmWithoutClicks) {
    REQUIRE_TREE();
    const fs::path se = tree / "Data" / "SE";
    for (const char* name : {"card-turn-over1.wav", "kira2.wav", "タンバリンの音.wav"}) {
        Wav w = ReadWav(se / name);
        ASSERT_TRUE(w.ok) << name;
        EXPECT_TRUE(GameReaderAccepts(se / name)) << name;
        EXPECT_EQ(w.channels, 2);
        EXPECT_EQ(w.rate, 44100);
        EXPECT_LT(w.Frames(), 44100u) << name << " is not short";
        EXPECT_GT(Peak(w, 0, w.Frames()), 8000) << name << " is nearly silent";
        EXPECT_LT(Peak(w, 0, 1), 64) << name << " starts with a click";
        EXPECT_LT(Peak(w, w.Frames() - 1, 1), 64) << name << " ends with a click";
    }
    // The title tune loops: the jump from its last frame to its first is no larger than the
    // largest jump between neighbouring frames inside it.
    Wav tune = ReadWav(tree / "Data" / "Sound" / "Zaroz.uro");
    ASSERT_TRUE(tune.ok);
    EXPECT_TRUE(GameReaderAccepts(tree / "Data" / "Sound" / "Zaroz.uro"));
    EXPECT_EQ(tune.channels, 2);
    EXPECT_GT(tune.Frames(), 10u * 44100);
    int inside = 0;
    for (size_t i = 2; i < tune.samples.size(); ++i) {
        inside = std::max(inside, std::abs(tune.samples[i] - tune.samples[i - 2]));
    }
    size_t last = tune.samples.size() - 2;
    for (int c = 0; c < 2; ++c) {
        int seam = std::abs(tune.samples[c] - tune.samples[last + c]);
        EXPECT_LE(seam, inside / 4) << "channel " << c << " clicks at the loop point";
    }
}
