// Headless capture: the file is a float WAV our reader accepts, 705.6 samples a frame with no
// drift, and it holds the mix of what the game played.
#include <gtest/gtest.h>

#include <cstring>

#include "../media/LoopbackFixture.h"
#include "audio/AudioCapture.h"
#include "audio/SoundManager.h"
#include "media/AudioEngine.h"
#include "media/WAVFileReader.h"

using namespace DirectX;

namespace {

class AudioCaptureTest : public LoopbackTest {
  protected:
    void TearDown() override {
        SoundManager::Get().ReleaseAll();
        SoundManager::Get().engine.reset();
        LoopbackTest::TearDown();
    }
};

// Reads a captured file and returns its samples; fails the test when it is not a WAV file.
std::vector<float> ReadCapture(const std::string& path) {
    std::unique_ptr<uint8_t[]> data;
    size_t bytes = 0;
    WaveFileInfo info;
    std::wstring wide(path.begin(), path.end());
    EXPECT_EQ(ReadWavFile(wide, data, bytes, info), kOk);
    EXPECT_TRUE(IsValidWaveFormat(info.format, info.formatBytes));
    std::vector<float> samples(info.sampleBytes / 4);
    if (info.sampleStart) std::memcpy(samples.data(), info.sampleStart, info.sampleBytes);
    return samples;
}

}  // namespace

TEST_F(AudioCaptureTest, CapturesTheMixInStepWithFrames) {
    WriteFile("Data/SE/a.wav", CountingStereo(1000));
    std::string error;
    ASSERT_TRUE(StartAudioCapture("out.wav", &error)) << error;
    SoundManager& manager = SoundManager::Get();
    manager.engine = std::make_unique<AudioEngine>();
    ASSERT_TRUE(manager.engine->IsAudioDevicePresent());
    manager.Update();
    CaptureAudioFrame();  // frame 1: 705 samples of silence
    manager.PlaySoundEffect(L"a.wav", 1.0f);
    for (int frame = 2; frame <= 625; ++frame) {
        manager.Update();
        CaptureAudioFrame();
    }
    ASSERT_TRUE(FinishAudioCapture(&error)) << error;
    std::vector<float> samples = ReadCapture("out.wav");
    // 625 frames of 16 ms are exactly 10 seconds.
    ASSERT_EQ(samples.size(), 441000u * 2);
    EXPECT_EQ(samples[2 * 704], 0.0f);
    EXPECT_EQ(samples[2 * 705], Count(0));
    EXPECT_EQ(samples[2 * 1704], Count(999));
    EXPECT_EQ(samples[2 * 1705], 0.0f);
}

TEST_F(AudioCaptureTest, WithoutAnEngineTheFileHoldsSilence) {
    std::string error;
    ASSERT_TRUE(StartAudioCapture("quiet.wav", &error)) << error;
    for (int frame = 0; frame < 10; ++frame) CaptureAudioFrame();
    ASSERT_TRUE(FinishAudioCapture(&error)) << error;
    std::vector<float> samples = ReadCapture("quiet.wav");
    EXPECT_EQ(samples.size(), 7056u * 2);
    EXPECT_TRUE(Silent(samples));
}

TEST_F(AudioCaptureTest, UnwritablePathIsReported) {
    std::string error;
    EXPECT_FALSE(StartAudioCapture("no/such/dir/out.wav", &error));
    EXPECT_NE(error.find("no/such/dir/out.wav"), std::string::npos) << error;
    EXPECT_FALSE(FinishAudioCapture(&error));
}
