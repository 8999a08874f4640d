// SoundManager on the loopback device: background-music requests, the music slot, overlapping
// effects released after their end, volumes from Config, and files that cannot be played.
#include <gtest/gtest.h>

#include "../media/LoopbackFixture.h"
#include "audio/SoundManager.h"
#include "media/AudioEngine.h"
#include "media/SoundEffect.h"
#include "settings/Config.h"

using namespace wavtest;

namespace {

constexpr size_t kFrame = 706;  // about one frame of sound at 44100 Hz

class SoundManagerTest : public LoopbackTest {
  protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        savedConfig_ = GetConfig();
        GetConfig() = Config{};
        SoundManager& m = SoundManager::Get();
        m.ReleaseAll();
        m.engine = std::make_unique<DirectX::AudioEngine>();
        m.currentBgmPath.clear();
        m.requestedBgmPath.clear();
    }
    void TearDown() override {
        SoundManager& m = SoundManager::Get();
        m.ReleaseAll();
        m.engine.reset();
        m.currentBgmPath.clear();
        m.requestedBgmPath.clear();
        GetConfig() = savedConfig_;
        LoopbackTest::TearDown();
    }
    SoundManager& manager = SoundManager::Get();

  private:
    Config savedConfig_;
};

}  // namespace

TEST_F(SoundManagerTest, BackgroundMusicRequestedEveryFrameStartsOnceAndNeverRestarts) {
    WriteFile("Data/Sound/Zaroz.uro", CountingStereo(2000));
    std::vector<float> mix;
    const DirectX::SoundEffect* first = nullptr;
    for (int frame = 0; frame < 60; ++frame) {
        // A new scale on the same file leaves the playing volume alone.
        manager.RequestBackgroundMusic(L"Zaroz.uro", frame < 30 ? 1.0f : 0.5f);
        manager.Update();
        if (frame == 0) first = manager.bgmEffect.get();
        ASSERT_EQ(manager.bgmEffect.get(), first);
        std::vector<float> part = Render(kFrame);
        mix.insert(mix.end(), part.begin(), part.end());
    }
    ASSERT_NE(first, nullptr);
    for (size_t i = 0; i < mix.size() / 2; ++i) ASSERT_EQ(mix[2 * i], Count(i % 2000)) << i;
}

TEST_F(SoundManagerTest, EmptyRequestStopsAtNextUpdateAndNewRequestStartsFromTheBeginning) {
    WriteFile("Data/Sound/Zaroz.uro", CountingStereo(20000));
    manager.RequestBackgroundMusic(L"Zaroz.uro", 1.0f);
    EXPECT_TRUE(Silent(Render(kFrame)));  // nothing before the next Update
    manager.Update();
    Render(3 * kFrame);
    manager.RequestBackgroundMusic(L"", 0.0f);
    EXPECT_EQ(Render(kFrame)[0], Count(3 * kFrame));  // still playing until Update
    manager.Update();
    EXPECT_EQ(manager.bgmInstance, nullptr);
    EXPECT_TRUE(Silent(Render(kFrame)));
    manager.RequestBackgroundMusic(L"Zaroz.uro", 1.0f);
    manager.Update();
    EXPECT_EQ(Render(kFrame)[0], Count(0));
}

TEST_F(SoundManagerTest, VolumesMultiplyConfigAndScaleAtCallTime) {
    WriteFile("Data/Sound/Zaroz.uro", CountingStereo(2000));
    GetConfig().Volume = 2.0f;
    GetConfig().BGMVolume = 2.0f;
    manager.RequestBackgroundMusic(L"Zaroz.uro", 0.8f);
    EXPECT_EQ(manager.bgmVolume, 3.2f);
    GetConfig().Volume = 1.0f;  // too late: the request has already been priced
    manager.Update();
    std::vector<float> mix = Render(100);
    EXPECT_FLOAT_EQ(mix[2 * 99], Count(99, 3.2f));
}

TEST_F(SoundManagerTest, VolumeZeroLoadsEverythingAndPlaysSilence) {
    WriteFile("Data/Sound/Zaroz.uro", CountingStereo(2000));
    WriteFile("Data/Music/Song/Song.wav", CountingStereo(2000));
    WriteFile("Data/SE/kira2.wav", CountingStereo(2000));
    GetConfig().Volume = 0.0f;
    manager.RequestBackgroundMusic(L"Zaroz.uro", 0.8f);
    manager.PlayMusic(L"Song/Song.wav", 0.8f);
    manager.PlaySoundEffect(L"kira2.wav", 0.1f);
    manager.Update();
    EXPECT_NE(manager.bgmEffect, nullptr);
    EXPECT_NE(manager.musicEffect, nullptr);
    EXPECT_NE(manager.seEffect, nullptr);
    EXPECT_TRUE(manager.musicInstance->IsSounding());
    EXPECT_TRUE(Silent(Render(1000)));
}

TEST_F(SoundManagerTest, MusicIsReplacedAndTheEmptyNameStopsIt) {
    WriteFile("Data/Music/A/A.wav", CountingStereo(5000));
    manager.PlayMusic(L"", 0.0f);  // nothing held: nothing happens
    EXPECT_EQ(manager.musicEffect, nullptr);
    manager.PlayMusic(L"A/A.wav", 1.0f);
    EXPECT_EQ(Render(500)[2 * 499], Count(499));
    manager.PlayMusic(L"A/A.wav", 1.0f);  // a new start, from the beginning
    EXPECT_EQ(Render(10)[0], Count(0));
    manager.PlayMusic(L"", 0.0f);
    EXPECT_EQ(manager.musicInstance, nullptr);
    EXPECT_TRUE(Silent(Render(100)));
}

TEST_F(SoundManagerTest, OverlappingEffectsPlayToTheirEndsAndAreThenReleased) {
    WriteFile("Data/SE/a.wav", CountingStereo(1000));
    manager.PlaySoundEffect(L"a.wav", 1.0f);
    manager.Update();
    std::vector<float> mix = Render(kFrame);
    manager.PlaySoundEffect(L"a.wav", 1.0f);  // one frame later
    manager.Update();
    ASSERT_EQ(manager.endingEffects.size(), 1u);
    std::vector<float> next = Render(kFrame);
    mix.insert(mix.end(), next.begin(), next.end());
    for (size_t i = 0; i < 2 * kFrame; ++i) {
        float expected = (i < 1000 ? Count(i) : 0.0f) + (i >= kFrame ? Count(i - kFrame) : 0.0f);
        ASSERT_EQ(mix[2 * i], expected) << i;
    }
    manager.Update();  // the first has ended: released
    EXPECT_TRUE(manager.endingEffects.empty());
    next = Render(kFrame);
    EXPECT_EQ(next[0], Count(2 * kFrame - kFrame));
    EXPECT_EQ(next[2 * (1000 - kFrame - 1)], Count(999));
}

TEST_F(SoundManagerTest, UnplayableFilesLeaveTheSlotSilentWithOneLine) {
    WriteFile("Data/Sound/broken.wav", Bytes(40, 'x'));
    WriteFile("Data/Sound/Zaroz.uro", CountingStereo(2000));
    testing::internal::CaptureStderr();
    for (int frame = 0; frame < 5; ++frame) {
        manager.RequestBackgroundMusic(L"broken.wav", 1.0f);
        manager.Update();
    }
    std::string lines = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
    EXPECT_NE(lines.find("Data/Sound/broken.wav"), std::string::npos) << lines;
    EXPECT_NE(lines.find("80004005"), std::string::npos) << lines;
    EXPECT_EQ(manager.bgmInstance, nullptr);
    manager.RequestBackgroundMusic(L"Zaroz.uro", 1.0f);
    manager.Update();
    EXPECT_EQ(Render(10)[0], Count(0));

    testing::internal::CaptureStderr();
    manager.PlaySoundEffect(L"タンバリンの音.wav", 0.4f);
    manager.PlayMusic(L"None/None.wav", 0.4f);
    lines = testing::internal::GetCapturedStderr();
    // No "Data/SE" folder at all: the path, not only the file, is missing.
    EXPECT_NE(lines.find("Data/SE/タンバリンの音.wav: No such file or directory (error 80070003)"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("Data/Music/None/None.wav"), std::string::npos) << lines;
    EXPECT_EQ(manager.seEffect, nullptr);
    EXPECT_EQ(manager.musicEffect, nullptr);
}

TEST_F(SoundManagerTest, LongMusicIsFedInPiecesWithoutAGapOrASlip) {
    // Six seconds: long enough to be streamed rather than uploaded whole.
    constexpr size_t kFrames = 6 * 44100;
    std::vector<int16_t> s;
    for (size_t i = 0; i < kFrames; ++i) {
        s.push_back(int16_t(i % 30000 + 1));
        s.push_back(0);
    }
    WriteFile("Data/Music/Long/Long.wav", PcmFile(2, s));
    manager.PlayMusic(L"Long/Long.wav", 1.0f);
    std::vector<float> mix;
    for (size_t frame = 0; mix.size() / 2 < kFrames + 2 * kFrame; ++frame) {
        manager.Update();
        std::vector<float> part = Render(kFrame);
        mix.insert(mix.end(), part.begin(), part.end());
    }
    for (size_t i = 0; i < kFrames; ++i) ASSERT_EQ(mix[2 * i], Count(i % 30000)) << i;
    for (size_t i = kFrames; i < mix.size() / 2; ++i) ASSERT_EQ(mix[2 * i], 0.0f) << i;
    manager.Update();
    EXPECT_FALSE(manager.musicInstance->IsSounding());
    // Stopped halfway and started again: from the beginning.
    manager.PlayMusic(L"Long/Long.wav", 1.0f);
    manager.Update();
    Render(100 * kFrame);
    manager.musicInstance->Stop(true);
    EXPECT_TRUE(Silent(Render(kFrame)));
    manager.musicInstance->Play();
    EXPECT_EQ(Render(kFrame)[0], Count(0));
}
