// AudioEngine, SoundEffect and SoundEffectInstance on the loopback device, sample by sample,
// and on a silent engine and a back end that loses its device.
#include <gtest/gtest.h>

#include "LoopbackFixture.h"
#include "media/AudioEngine.h"
#include "media/SoundEffect.h"
#include "media/SoundEffectInstance.h"
#include "media/WAVFileReader.h"

using namespace DirectX;
using namespace wavtest;

namespace {

class SoundEffectOnLoopback : public EngineOnLoopback {};

}  // namespace

TEST_F(SoundEffectOnLoopback, PlaysSamplesExactlyAndOnce) {
    WriteFile("a.wav", CountingStereo(300));
    SoundEffect effect(engine.get(), L"a.wav");
    auto instance = effect.CreateInstance();
    EXPECT_EQ(instance->GetState(), SoundState::STOPPED);
    instance->Play();
    std::vector<float> mix = Render(400);
    for (size_t i = 0; i < 300; ++i) {
        ASSERT_EQ(mix[2 * i], Count(i)) << i;
        ASSERT_EQ(mix[2 * i + 1], -Count(i)) << i;
    }
    EXPECT_TRUE(Silent(std::vector<float>(mix.begin() + 600, mix.end())));
    EXPECT_FALSE(instance->IsSounding());
    // The ended sound stays playing, so Play does not start it again.
    EXPECT_EQ(instance->GetState(), SoundState::PLAYING);
    instance->Play();
    EXPECT_TRUE(Silent(Render(100)));
}

TEST_F(SoundEffectOnLoopback, LoopingSoundRepeatsItsLoopRegion) {
    WriteFile("loop.wav", CountingStereo(3000, {Chunk("smpl", Smpl({{0, 1000, 1999}}))}));
    SoundEffect effect(engine.get(), L"loop.wav");
    auto instance = effect.CreateInstance();
    instance->Play(true);
    std::vector<float> mix = Render(5500);
    for (size_t i = 0; i < 5500; ++i) {
        size_t source = i < 2000 ? i : 1000 + (i - 2000) % 1000;
        ASSERT_EQ(mix[2 * i], Count(source)) << i;
    }
    // A loop that is told to end plays out to the end of the samples.
    instance->Stop(false);
    EXPECT_EQ(instance->GetState(), SoundState::PLAYING);
    mix = Render(5000);
    EXPECT_EQ(mix[2 * 499], Count(1999));
    EXPECT_EQ(mix[2 * 500], Count(2000));
    EXPECT_EQ(mix[2 * 1499], Count(2999));
    EXPECT_EQ(mix[2 * 1500], 0.0f);
}

TEST_F(SoundEffectOnLoopback, LoopWithoutRegionRepeatsEverything) {
    WriteFile("all.wav", CountingStereo(100));
    SoundEffect effect(engine.get(), L"all.wav");
    auto instance = effect.CreateInstance();
    instance->Play(true);
    std::vector<float> mix = Render(350);
    for (size_t i = 0; i < 350; ++i) ASSERT_EQ(mix[2 * i], Count(i % 100)) << i;
}

TEST_F(SoundEffectOnLoopback, VolumeScalesSamplesBeforeAndAfterTheVoiceExists) {
    WriteFile("v.wav", CountingStereo(4000));
    SoundEffect effect(engine.get(), L"v.wav");
    auto instance = effect.CreateInstance();
    instance->SetVolume(3.2f);
    instance->Play();
    std::vector<float> mix = Render(1000);
    for (size_t i = 0; i < 1000; ++i) ASSERT_FLOAT_EQ(mix[2 * i], Count(i, 3.2f)) << i;
    instance->SetVolume(0.25f);
    Render(1000);  // the mixer eases into a new gain
    mix = Render(100);
    EXPECT_FLOAT_EQ(mix[0], Count(2000, 0.25f));
}

TEST_F(SoundEffectOnLoopback, ImmediateStopSilencesAtOnceAndPlayRestarts) {
    WriteFile("s.wav", CountingStereo(1000));
    SoundEffect effect(engine.get(), L"s.wav");
    auto instance = effect.CreateInstance();
    instance->Stop();  // never played: only the state changes
    EXPECT_EQ(instance->GetState(), SoundState::STOPPED);
    instance->Play();
    Render(100);
    instance->Stop(true);
    EXPECT_EQ(instance->GetState(), SoundState::STOPPED);
    EXPECT_TRUE(Silent(Render(200)));
    instance->Play();
    std::vector<float> mix = Render(10);
    EXPECT_EQ(mix[0], Count(0));
}

TEST_F(SoundEffectOnLoopback, ReleasingTheEffectSilencesItsInstance) {
    WriteFile("r.wav", CountingStereo(1000));
    auto effect = std::make_unique<SoundEffect>(engine.get(), L"r.wav");
    auto instance = effect->CreateInstance();
    instance->Play();
    Render(10);
    effect.reset();
    EXPECT_EQ(instance->GetState(), SoundState::STOPPED);
    EXPECT_TRUE(Silent(Render(100)));
    instance->Play();  // nothing left to play, and no failure
    EXPECT_TRUE(Silent(Render(100)));
}

TEST_F(SoundEffectOnLoopback, OtherSampleFormatsPlay) {
    // 24-bit stereo: converted to float.
    Bytes pcm24;
    for (int i = 0; i < 8; ++i) Put(pcm24, uint32_t(i * 256 + 256) & 0xFFFFFF, 3), Put(pcm24, 0, 3);
    WriteFile("24.wav", Riff({Chunk("fmt ", Fmt(1, 2, 44100, 24)), Chunk("data", pcm24)}));
    SoundEffect effect24(engine.get(), L"24.wav");
    auto i24 = effect24.CreateInstance();
    i24->Play();
    std::vector<float> mix = Render(8);
    EXPECT_FLOAT_EQ(mix[0], Count(0));
    EXPECT_FLOAT_EQ(mix[14], Count(7));
    i24.reset();

    // MS ADPCM mono, one block: the two header samples, then a flat line.
    Bytes block;
    Put(block, 0, 1);
    Put(block, 16, 2);
    Put(block, 2000, 2);
    Put(block, 1000, 2);
    block.resize(512, 0);
    WriteFile("adpcm.wav", Riff({Chunk("fmt ", FmtAdpcm(1, 44100, 512)), Chunk("data", block)}));
    SoundEffect adpcm(engine.get(), L"adpcm.wav");
    auto ia = adpcm.CreateInstance();
    ia->Play();
    mix = Render(4);
    EXPECT_GT(mix[0], 0.0f);
    EXPECT_FLOAT_EQ(mix[0], mix[1]);  // mono sits in the middle
    EXPECT_FLOAT_EQ(mix[2], 2 * mix[0]);
    EXPECT_FLOAT_EQ(mix[4], mix[2]);
}

TEST_F(SoundEffectOnLoopback, UnusableFilesRaiseSoundEffect) {
    try {
        SoundEffect effect(engine.get(), L"missing.wav");
        FAIL() << "no error";
    } catch (const SoundEffectError& e) {
        EXPECT_STREQ(e.what(), "SoundEffect");
        EXPECT_EQ(e.result(), 0x80070002u);
        EXPECT_EQ(e.file(), L"missing.wav");
    }
    WriteFile(
        "xwma.wav",
        Riff({Chunk("fmt ", Fmt(0x161, 2, 44100, 16, true)), Chunk("data", Bytes(64, 1))}, "XWMA"));
    EXPECT_THROW(SoundEffect(engine.get(), L"xwma.wav"), SoundEffectError);
}

TEST(SilentAudioEngine, LoadsFilesAndPlaysNothing) {
    AudioEngine engine(nullptr);
    EXPECT_FALSE(engine.IsAudioDevicePresent());
    EXPECT_FALSE(engine.Update());
    auto dir = std::filesystem::temp_directory_path() / ("silent-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    Bytes file = PcmFile(2, {1, 2, 3, 4});
    std::ofstream(dir / "a.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    SoundEffect effect(&engine, (dir / "a.wav").wstring());
    EXPECT_EQ(effect.GetInfo().sampleBytes, 8u);
    auto instance = effect.CreateInstance();
    instance->SetVolume(0.5f);
    instance->Play(true);
    instance->Stop();
    EXPECT_FALSE(instance->IsSounding());
    EXPECT_THROW(SoundEffect(&engine, (dir / "none.wav").wstring()), SoundEffectError);
    std::filesystem::remove_all(dir);
}

namespace {

// A back end that only counts, and whose device can be pulled.
class FakeBackend : public platform::AudioBackend {
  public:
    explicit FakeBackend(int* liveVoices) : live_(liveVoices) {}
    platform::BufferId CreateBuffer(const platform::SoundData&, std::string*) override { return 1; }
    void DestroyBuffer(platform::BufferId) override {}
    platform::VoiceId CreateVoice(std::string*) override { return ++(*live_), 7; }
    void DestroyVoice(platform::VoiceId) override { --(*live_); }
    bool SetGain(platform::VoiceId, float) override { return true; }
    bool Start(platform::VoiceId, platform::BufferId, bool) override { return true; }
    bool Queue(platform::VoiceId, platform::BufferId) override { return true; }
    size_t Unplayed(platform::VoiceId) override { return 0; }
    platform::BufferId TakeFinished(platform::VoiceId) override { return 0; }
    bool Resume(platform::VoiceId) override { return true; }
    void ExitLoop(platform::VoiceId) override {}
    void Stop(platform::VoiceId) override {}
    bool IsSounding(platform::VoiceId) override { return true; }
    bool IsConnected() override { return connected; }
    bool connected = true;

  private:
    int* live_;
};

}  // namespace

TEST(AudioEngineDeviceLoss, GoesSilentForGoodAtTheNextUpdate) {
    int liveVoices = 0;
    auto backend = std::make_unique<FakeBackend>(&liveVoices);
    FakeBackend* fake = backend.get();
    AudioEngine engine(std::move(backend));
    const int keptBack = liveVoices;  // the music slots' voices, made with the engine
    EXPECT_EQ(keptBack, int(kReservedVoices));
    auto dir = std::filesystem::temp_directory_path() / ("loss-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    Bytes file = PcmFile(2, {1, 2, 3, 4});
    std::ofstream(dir / "a.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    SoundEffect effect(&engine, (dir / "a.wav").wstring());
    auto instance = effect.CreateInstance();
    instance->Play();
    EXPECT_EQ(liveVoices, keptBack + 1);
    EXPECT_TRUE(engine.Update());
    fake->connected = false;
    EXPECT_FALSE(engine.Update());
    EXPECT_TRUE(engine.IsCriticalError());
    EXPECT_FALSE(engine.IsAudioDevicePresent());
    EXPECT_EQ(liveVoices, keptBack);  // the instance gave its voice back; the rest went with it
    EXPECT_EQ(instance->GetState(), SoundState::STOPPED);
    instance->Play();
    EXPECT_FALSE(instance->IsSounding());
    EXPECT_FALSE(engine.Update());
    std::filesystem::remove_all(dir);
}
