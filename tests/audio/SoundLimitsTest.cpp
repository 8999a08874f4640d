// Many sounds at once: hundreds of overlapping effects all sound, and when effects have taken
// every voice the device has, the music and the background music still start on the voices
// kept back for them.
#include <gtest/gtest.h>

#include "../media/LoopbackFixture.h"
#include "audio/SoundManager.h"
#include "media/AudioEngine.h"
#include "platform/sound/OutputLatency.h"
#include "settings/Config.h"

using namespace wavtest;

namespace {

class SoundLimits : public LoopbackTest {
  protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        saved_ = GetConfig();
        GetConfig() = Config{};
        manager.ReleaseAll();
        manager.engine = std::make_unique<DirectX::AudioEngine>();
        manager.currentBgmPath.clear();
        manager.requestedBgmPath.clear();
        // One 1/32768 step in every sample: the mix counts the sounds playing.
        WriteFile("Data/SE/tick.wav", PcmFile(2, std::vector<int16_t>(2 * 64, 1)));
        WriteFile("Data/Music/Song/Song.wav", PcmFile(2, std::vector<int16_t>(2 * 20000, 1000)));
        WriteFile("Data/Sound/Zaroz.uro", PcmFile(2, std::vector<int16_t>(2 * 20000, 2000)));
    }
    void TearDown() override {
        manager.ReleaseAll();
        manager.engine.reset();
        manager.currentBgmPath.clear();
        manager.requestedBgmPath.clear();
        GetConfig() = saved_;
        LoopbackTest::TearDown();
    }
    // Starts n effects in one frame, none of them released before they end.
    void Effects(int n) {
        for (int i = 0; i < n; ++i) manager.PlaySoundEffect(L"tick.wav", 1.0f);
    }
    SoundManager& manager = SoundManager::Get();

  private:
    Config saved_;
};

}  // namespace

TEST_F(SoundLimits, ThreeHundredOverlappingEffectsThenTheMusicStarts) {
    Effects(300);
    EXPECT_FLOAT_EQ(Render(10)[0], 300 / 32768.0f);
    manager.PlayMusic(L"Song/Song.wav", 1.0f);
    EXPECT_FLOAT_EQ(Render(10)[0], 1300 / 32768.0f);
}

TEST_F(SoundLimits, EffectsThatTakeEveryVoiceNeverSilenceTheMusic) {
    testing::internal::CaptureStderr();
    Effects(platform::kSoundSources + 10);
    std::string lines = testing::internal::GetCapturedStderr();
    // The device's voices ran out for the last few effects only, each told in one line.
    int refused = int(std::count(lines.begin(), lines.end(), '\n'));
    EXPECT_GT(refused, 0);
    EXPECT_LE(refused, 10 + int(DirectX::kReservedVoices));
    EXPECT_NE(lines.find("Data/SE/tick.wav: the sound could not start (CreateSourceVoice)"),
              std::string::npos);
    const float effects = float(platform::kSoundSources + 10 - refused);
    manager.PlayMusic(L"Song/Song.wav", 1.0f);
    manager.RequestBackgroundMusic(L"Zaroz.uro", 1.0f);
    manager.Update();
    EXPECT_FLOAT_EQ(Render(10)[0] * 32768.0f, effects + 3000.0f);
    // Replaced music takes the kept-back voice again.
    manager.PlayMusic(L"Song/Song.wav", 1.0f);
    EXPECT_FLOAT_EQ(Render(10)[0] * 32768.0f, effects + 3000.0f);
}
