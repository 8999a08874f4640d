// Compressed songs: the song file a title uses where its WAV is missing, Ogg, Opus, FLAC and
// MP3 songs played through the music slot (FLAC sample-exact), the channel order of each
// codec, a file that cannot be decoded, the content check, and the names the game and the
// preview ask for.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "../gameplay/GameHarness.h"
#include "../media/LoopbackFixture.h"
#include "../media/SongWriter.h"
#include "audio/SongFile.h"
#include "audio/SoundManager.h"
#include "media/AudioEngine.h"
#include "media/StereoMix.h"
#include "selection/SelectMusic.h"
#include "settings/Config.h"
#include "shell/ContentCheck.h"

namespace {

constexpr size_t kFrame = 706;  // about one frame of sound at 44100 Hz

class CompressedSong : public LoopbackTest {
  protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        saved_ = GetConfig();
        GetConfig() = Config{};
        manager.ReleaseAll();
        manager.engine = std::make_unique<DirectX::AudioEngine>();
    }
    void TearDown() override {
        manager.ReleaseAll();
        manager.engine.reset();
        GetConfig() = saved_;
        LoopbackTest::TearDown();
    }
    // Plays a title's song file in the music slot, frames running, for the given seconds.
    std::vector<float> PlaySong(const std::wstring& title, double seconds) {
        manager.PlayMusic(SongMusicName(title), 1.0f);
        std::vector<float> mix;
        while (mix.size() < size_t(seconds * 44100) * 2) {
            manager.Update();
            std::vector<float> part = Render(kFrame);
            mix.insert(mix.end(), part.begin(), part.end());
        }
        return mix;
    }
    // The root mean square of one side over frames [from, to).
    static float Rms(const std::vector<float>& mix, int side, size_t from, size_t to) {
        double sum = 0;
        for (size_t i = from; i < to; ++i) sum += double(mix[2 * i + side]) * mix[2 * i + side];
        return float(std::sqrt(sum / double(to - from)));
    }
    SoundManager& manager = SoundManager::Get();

  private:
    Config saved_;
};

}  // namespace

TEST(SongFile, TheWavFirstThenOggOpusFlacMp3) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("lyrandel-songfile-" + std::to_string(getpid()));
    const auto home = std::filesystem::current_path();
    std::filesystem::create_directories(dir / "Data/Music/T");
    std::filesystem::current_path(dir);
    EXPECT_EQ(SongFilePath(L"T"), L"Data/Music/T/T.wav");  // none: the name the game expects
    for (const char* ending : {".mp3", ".flac", ".opus", ".ogg", ".wav"}) {
        std::ofstream(std::string("Data/Music/T/T") + ending) << "x";
        EXPECT_EQ(SongFilePath(L"T"),
                  L"Data/Music/T/T" + std::wstring(ending, ending + std::strlen(ending)));
    }
    EXPECT_EQ(SongMusicName(L"T"), L"T/T.wav");
    std::filesystem::current_path(home);
    std::filesystem::remove_all(dir);
}

TEST_F(CompressedSong, FlacPlaysSampleExactAndEndsOnTime) {
    std::vector<int16_t> s;
    for (int i = 0; i < 2 * 44100; ++i) s.push_back(int16_t(i % 30000 + 1)), s.push_back(-7);
    ASSERT_TRUE(songtest::WriteSong16("Data/Music/F/F.flac", s, 2, 44100));
    std::vector<float> mix = PlaySong(L"F", 2.2);
    for (size_t i = 0; i < 2 * 44100; ++i) {
        ASSERT_EQ(mix[2 * i], Count(i % 30000)) << i;
        ASSERT_EQ(mix[2 * i + 1], -7 / 32768.0f) << i;
    }
    EXPECT_TRUE(Silent(std::vector<float>(mix.begin() + 2 * 2 * 44100, mix.end())));
}

TEST_F(CompressedSong, OggOpusAndMp3PlayAtTheirLevelForTheirLength) {
    // A 0.5 sine has a level (root mean square) of 0.354; lossy coding leaves it close.
    for (const char* ending : {".ogg", ".opus", ".mp3"}) {
        const int rate = std::string(ending) == ".opus" ? 48000 : 44100;
        const std::string title = std::string("S") + (ending + 1);
        ASSERT_TRUE(songtest::WriteSong("Data/Music/" + title + "/" + title + ending,
                                        songtest::Tone(2.0, 2, rate, 440, 0.5f), 2, rate))
            << ending;
        std::vector<float> mix = PlaySong(std::wstring(title.begin(), title.end()), 2.5);
        EXPECT_NEAR(Rms(mix, 0, 4410, 83790), 0.354f, 0.02f) << ending;
        EXPECT_NEAR(Rms(mix, 1, 4410, 83790), 0.354f, 0.02f) << ending;
        EXPECT_LT(Rms(mix, 0, 2 * 44100 + 4410, mix.size() / 2), 0.001f) << ending;
    }
}

TEST_F(CompressedSong, SixChannelsFollowEachCodecsOrder) {
    // The front centre alone: second in a Vorbis stream, third in FLAC. Either way it must
    // sound on both sides alike, at its share of the downmix.
    const float centre = DirectX::StereoMixFor(DirectX::SpeakersOf(0, 6)).left[2];
    for (auto [ending, index] : {std::pair{".ogg", 1}, std::pair{".flac", 2}}) {
        std::vector<float> tone = songtest::Tone(1.0, 1, 44100, 440, 0.5f);
        std::vector<float> six(tone.size() * 6, 0.0f);
        for (size_t i = 0; i < tone.size(); ++i) six[6 * i + size_t(index)] = tone[i];
        const std::string title = std::string("C") + (ending + 1);
        ASSERT_TRUE(
            songtest::WriteSong("Data/Music/" + title + "/" + title + ending, six, 6, 44100));
        std::vector<float> mix = PlaySong(std::wstring(title.begin(), title.end()), 1.0);
        EXPECT_NEAR(Rms(mix, 0, 4410, 39690), 0.354f * centre, 0.01f) << ending;
        EXPECT_NEAR(Rms(mix, 1, 4410, 39690), 0.354f * centre, 0.01f) << ending;
    }
}

TEST_F(CompressedSong, AFileThatCannotBeDecodedLeavesTheSlotSilentWithOneLine) {
    WriteFile("Data/Music/B/B.mp3", wavtest::Bytes(5000, 0x5A));
    testing::internal::CaptureStderr();
    manager.PlayMusic(SongMusicName(L"B"), 1.0f);
    std::string lines = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines.find("lyrandel: Data/Music/B/B.mp3: "), 0u) << lines;
    EXPECT_NE(lines.find("(error 80004005); playing nothing\n"), std::string::npos) << lines;
    EXPECT_EQ(manager.musicEffect, nullptr);
}

TEST_F(CompressedSong, TheContentCheckDecodesEverySongFile) {
    WriteFile("Data/Music/0.nld",
              wavtest::Bytes{'G', '[', '1', ':', '1', ':', '1', ']', 'g', '\n',
                             'B', '[', '1', ':', '1', ':', '1', ']', 'b', '\n',
                             'N', '[', '1', ':', '1', ':', '1', ']', 'n', '\n'});
    ASSERT_TRUE(songtest::WriteSong("Data/Music/G/G.ogg", songtest::Tone(1, 2, 44100, 440, 0.5f), 2,
                                    44100));
    // A FLAC file cut in the middle of its frames.
    ASSERT_TRUE(songtest::WriteSong("Data/Music/B/B.flac", songtest::Tone(3, 2, 44100, 440, 0.5f),
                                    2, 44100));
    std::filesystem::resize_file("Data/Music/B/B.flac", 9000);
    std::string all;
    for (const std::string& p : CheckContent()) all += p + "\n";
    EXPECT_EQ(all.find("Data/Music/G/G."), std::string::npos) << all;
    EXPECT_NE(all.find("Data/Music/B/B.flac: not a readable sound file ("), std::string::npos)
        << all;
    EXPECT_NE(all.find("Data/Music/N/N.wav: missing file"), std::string::npos) << all;
}

namespace gametest {

class SongNames : public GameHarness {};

TEST_F(SongNames, TheGameAndThePreviewAskForTheCompressedSong) {
    WriteChart("BPM[150]\nSecond[10]\n[RU,BU,5]\n");
    WriteFile("Data/Music/Song/Song.opus", "x");
    Start();
    RunThrough(333);
    EXPECT_EQ(CountSounds(SoundCall::Kind::Music, L"Song/Song.opus"), 1);

    WriteFile("Data/Music/0.nld", "Song[1:2:3]Ann\n");
    WriteTexture("SelectMusic.png");
    WriteTexture("Song.png");
    SelectMusic select;
    ASSERT_TRUE(select.Initialize());
    bool previewed = false;
    for (int update = 0; update <= 121 && !previewed; ++update) {
        ASSERT_EQ(Step(select), nullptr);
        previewed = CountSounds(SoundCall::Kind::Music, L"Song/Song.opus") == 1;
    }
    EXPECT_TRUE(previewed);
}

}  // namespace gametest
