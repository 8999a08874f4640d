// The demo songs: a music list in code page 932, and per song music of one to two minutes with
// three charts in the chart grammar whose notes ascend per lane, grow denser with the level,
// last no longer than the play length and fall on the drum hits of the music.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <set>

#include "GeneratedContent.h"
#include "gameplay/ChartReader.h"
#include "platform/Codepage.h"
#include "selection/MusicList.h"

namespace fs = std::filesystem;
using namespace testcontent;

namespace {

struct Entry {
    std::wstring title;
    int levels[3] = {0, 0, 0};
};

// Reads the music list: title "[" level ":" level ":" level "]" credit, one entry a line.
std::vector<Entry> ReadMusicList(const std::wstring& text) {
    static const std::wregex line(LR"(([^\[\n]+)\[(-?\d+):(-?\d+):(-?\d+)\][^\n]*)");
    std::vector<Entry> entries;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring one = text.substr(start, end - start);
        std::wsmatch m;
        EXPECT_TRUE(std::regex_match(one, m, line)) << "malformed list line";
        if (!m.empty()) {
            Entry e;
            e.title = m[1];
            for (int i = 0; i < 3; ++i) e.levels[i] = std::stoi(m[2 + i].str());
            entries.push_back(e);
        }
        start = end + 1;
    }
    return entries;
}

struct ChartNote {
    float distance;
    double value;
};

struct Chart {
    int bpm = 0, second = 0;
    std::vector<ChartNote> red, blue;
};

// Reads a chart by the grammar: head up to "[", value up to "]", the rest of the line skipped.
// Only "BPM", "Second" and note lines may appear; note bodies must be exact, with the distance
// computed as the game's loader does.
Chart ReadChart(const std::string& text, const std::string& name) {
    static const std::regex note(R"((R[URDL],)?(B[URDL],)?(\d+\.\d+))");
    Chart c;
    size_t pos = 0;
    int line = 1;
    while (true) {
        size_t open = text.find('[', pos);
        if (open == std::string::npos) {
            EXPECT_EQ(text.substr(pos), "") << name << ": text after the last entry";
            break;
        }
        std::string head = text.substr(pos, open - pos);
        size_t close = text.find(']', open);
        size_t eol = text.find('\n', open);
        if (close == std::string::npos || (eol != std::string::npos && close > eol)) {
            ADD_FAILURE() << name << ":" << line << ": no ]";
            break;
        }
        std::string value = text.substr(open + 1, close - open - 1);
        if (head == "BPM") {
            EXPECT_TRUE(c.red.empty() && c.blue.empty()) << name << ": BPM after notes";
            c.bpm = std::stoi(value);
        } else if (head == "Second") {
            c.second = std::stoi(value);
        } else if (head.empty()) {
            std::smatch m;
            if (!std::regex_match(value, m, note) || (!m[1].matched && !m[2].matched)) {
                ADD_FAILURE() << name << ":" << line << ": bad note [" << value << "]";
            } else {
                double v = std::stod(m[3].str());
                float offset = ((c.bpm * 0.006f) / 1350.f) * 62.f;
                ChartNote n{std::stof(m[3].str()) * 1.55f + offset, v};
                if (m[1].matched) c.red.push_back(n);
                if (m[2].matched) c.blue.push_back(n);
            }
        } else {
            ADD_FAILURE() << name << ":" << line << ": unexpected head \"" << head << "\"";
        }
        if (eol == std::string::npos) break;
        pos = eol + 1;
        ++line;
    }
    return c;
}

// Audio frame at which a note of value v reaches the hit line (348750 v / BPM - 1 updates
// after the song starts, 62.5 updates a second).
double FrameOfValue(double v, int bpm) { return (348750.0 * v / bpm - 1.0) / 62.5 * 44100.0; }

// Loudness of 10 ms of audio from frame on (sum of squares of both channels).
double Energy(const Wav& w, long frame) {
    double sum = 0;
    for (long i = std::max(0L, frame); i < frame + 441 && i < long(w.Frames()); ++i) {
        sum += double(w.samples[2 * i]) * w.samples[2 * i] +
               double(w.samples[2 * i + 1]) * w.samples[2 * i + 1];
    }
    return sum;
}

// Share of notes at which the music gets clearly louder (a drum hit starts).
double ShareOnOnsets(const std::vector<ChartNote>& notes, const Wav& w, int bpm) {
    if (notes.empty()) return 0;
    int onsets = 0;
    for (const ChartNote& n : notes) {
        long f = std::lround(FrameOfValue(n.value, bpm));
        if (Energy(w, f) > 1.5 * Energy(w, f - 441)) ++onsets;
    }
    return double(onsets) / notes.size();
}

}  // namespace

TEST(DemoSongs, MusicListDecodesAndNamesPlayableSongs) {
    if (!HaveGenerator()) GTEST_SKIP() << "generator not built";
    const fs::path& tree = SharedTree();
    ASSERT_FALSE(tree.empty());
    auto text = platform::Cp932ToWide(ReadFile(tree / "Data" / "Music" / "0.nld"));
    ASSERT_TRUE(text.has_value()) << "music list is not code page 932";
    std::vector<Entry> songs = ReadMusicList(*text);
    ASSERT_GE(songs.size(), 3u);
    bool japanese = false, scrolls = false;
    for (const Entry& e : songs) {
        japanese |= std::any_of(e.title.begin(), e.title.end(), [](wchar_t c) { return c > 0x7F; });
        scrolls |= e.title.size() >= 10;
        EXPECT_EQ(e.title.find(L".."), std::wstring::npos);
        EXPECT_EQ(e.title.find_first_of(L"/\\"), std::wstring::npos);
        for (int level : e.levels) EXPECT_GE(level, 1);
        const std::string t = platform::WideToUtf8(e.title);
        EXPECT_TRUE(fs::exists(tree / "Data" / "Texture" / (t + ".png"))) << t;
        EXPECT_TRUE(fs::exists(tree / "Data" / "Music" / t / (t + ".wav"))) << t;
    }
    EXPECT_TRUE(japanese);
    EXPECT_TRUE(scrolls);

    // The game's own list reader agrees, and finds every jacket.
    std::vector<MusicEntry> read;
    MusicListError error;
    auto jacketExists = [&](const std::wstring& title) {
        return fs::exists(tree / "Data" / "Texture" / (platform::WideToUtf8(title) + ".png"));
    };
    ASSERT_TRUE(ParseMusicList(*text, jacketExists, read, error)) << error.message;
    ASSERT_EQ(read.size(), songs.size());
    for (size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i].title, songs[i].title);
}

TEST(DemoSongs, ChartsFollowTheGrammarAndTheMusic) {
    if (!HaveGenerator()) GTEST_SKIP() << "generator not built";
    const fs::path& tree = SharedTree();
    ASSERT_FALSE(tree.empty());
    auto text = platform::Cp932ToWide(ReadFile(tree / "Data" / "Music" / "0.nld"));
    ASSERT_TRUE(text.has_value());
    std::set<int> tempos;
    for (const Entry& e : ReadMusicList(*text)) {
        const std::string t = platform::WideToUtf8(e.title);
        const fs::path folder = tree / "Data" / "Music" / t;
        Wav music = ReadWav(folder / (t + ".wav"));
        ASSERT_TRUE(music.ok) << t;
        EXPECT_EQ(music.channels, 2);
        EXPECT_EQ(music.rate, 44100);
        const double seconds = double(music.Frames()) / 44100;
        EXPECT_GE(seconds, 60.0) << t;
        EXPECT_LE(seconds, 120.0) << t;
        size_t previousCount = 0;
        for (int level = 1; level <= 3; ++level) {
            const std::string name = t + "/" + std::to_string(level) + ".nsd";
            const std::string bytes = ReadFile(folder / (std::to_string(level) + ".nsd"));
            Chart c = ReadChart(bytes, name);
            ChartContent game;
            EXPECT_EQ(ParseChart(bytes, name, game), std::vector<std::string>{}) << name;
            EXPECT_EQ(game.BPM, c.bpm);
            EXPECT_EQ(game.Second, c.second);
            EXPECT_EQ(game.redNotes.size(), c.red.size()) << name;
            EXPECT_EQ(game.blueNotes.size(), c.blue.size()) << name;
            EXPECT_GE(c.bpm, 100) << name;
            EXPECT_LE(c.bpm, 180) << name;
            if (level == 1) tempos.insert(c.bpm);
            // The notes move until 359 + 60 * Second updates after the song starts: at least
            // to the song's end, and not a minute of silence longer.
            const double songUpdates = seconds * 62.5;
            EXPECT_GE(359 + 60.0 * c.second, songUpdates) << name;
            EXPECT_LT(359 + 60.0 * c.second, songUpdates + 60) << name;
            for (const auto* lane : {&c.red, &c.blue}) {
                for (size_t i = 1; i < lane->size(); ++i) {
                    EXPECT_LT((*lane)[i - 1].distance, (*lane)[i].distance)
                        << name << " note " << i;
                }
                if (!lane->empty()) {
                    double lastUpdate = 348750.0 * lane->back().value / c.bpm - 1;
                    EXPECT_LE(lastUpdate, 359 + 60.0 * c.second) << name;
                    EXPECT_GT(lane->front().value, 0.0) << name;
                }
            }
            size_t count = c.red.size() + c.blue.size();
            EXPECT_GT(count, previousCount) << name << " is not denser than the level below";
            previousCount = count;
            if (level == 1) {
                EXPECT_TRUE(c.blue.empty()) << name;
                EXPECT_GE(c.red.size(), 40u) << name;
            }
            if (level <= 2) {
                EXPECT_GE(ShareOnOnsets(c.red, music, c.bpm), 0.95) << name << " red off the beat";
            }
            if (level == 2) {
                EXPECT_GE(ShareOnOnsets(c.blue, music, c.bpm), 0.95)
                    << name << " blue off the beat";
            }
        }
    }
    EXPECT_GE(tempos.size(), 3u) << "songs share a tempo";
}
