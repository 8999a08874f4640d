// Long sounds read a piece at a time: sample-exact while no frame runs (the feeder thread
// alone keeps them going), converted in pieces exactly as a whole conversion would be,
// looping at their loop region, and ending with a message, not a crash, when their file is
// cut or rewritten while they play.
#include <gtest/gtest.h>

#include <cstring>

#include "LoopbackFixture.h"
#include "SongWriter.h"
#include "media/AudioEngine.h"
#include "media/SoundEffect.h"
#include "media/SoundEffectInstance.h"
#include "media/StereoMix.h"

using namespace DirectX;
using namespace wavtest;

namespace {

constexpr size_t kTenth = 4410;  // a tenth of a second at 44100 Hz

class Streaming : public EngineOnLoopback {
  protected:
    // Loads the file, checks that it streams, and plays it (looping or once).
    void Start(const std::wstring& name, bool loop = false) {
        effect = std::make_unique<SoundEffect>(engine.get(), name);
        ASSERT_TRUE(effect->IsStreamed());
        instance = effect->CreateInstance(kInstanceReservedVoice);
        instance->Play(loop);
    }

    std::vector<float> RenderWithoutFrames(double seconds) { return RenderFed(*engine, seconds); }
};

}  // namespace

TEST_F(Streaming, PlaysSampleExactWhileNoFrameRuns) {
    WriteFile("long.wav", CountingLong(7 * 44100));
    Start(L"long.wav");
    std::vector<float> mix = RenderWithoutFrames(7.5);
    for (size_t i = 0; i < 7 * 44100; ++i) ASSERT_EQ(mix[2 * i], CountedLong(i)) << i;
    for (size_t i = 7 * 44100; i < mix.size() / 2; ++i) ASSERT_EQ(mix[2 * i], 0.0f) << i;
    EXPECT_FALSE(instance->IsSounding());
    EXPECT_EQ(engine->Feeder().Count(), 0u);
}

TEST_F(Streaming, ConvertsInPiecesAsAWholeConversionWould) {
    // Six channels of 24 bits: the front left counts, the others are silent but for the
    // low-frequency channel, which the downmix leaves out.
    constexpr size_t kFrames = 3 * 44100;
    Bytes data;
    for (size_t i = 0; i < kFrames; ++i)
        for (int c = 0; c < 6; ++c)
            Put(data, c == 0 ? (i % 30000 + 1) << 8 : c == 3 ? 0x7FFFFF : 0, 3);
    WriteFile("six.wav", Riff({Chunk("fmt ", Fmt(1, 6, 44100, 24)), Chunk("data", data)}));
    Start(L"six.wav");
    const float share = StereoMixFor(SpeakersOf(0, 6)).left[0];
    std::vector<float> mix = RenderWithoutFrames(3.2);
    for (size_t i = 0; i < kFrames; ++i) {
        ASSERT_EQ(mix[2 * i], CountedLong(i) * share) << i;
        ASSERT_EQ(mix[2 * i + 1], 0.0f) << i;
    }
}

TEST_F(Streaming, LoopsAtTheLoopRegionAndLeavesItWhenTold) {
    // A forward loop over frames 200000 to 299999 of a 310000-frame file.
    std::vector<int16_t> s;
    for (size_t i = 0; i < 310000; ++i) s.push_back(int16_t(i % 30000 + 1)), s.push_back(0);
    WriteFile("loop.wav", PcmFile(2, s, {Chunk("smpl", Smpl({{0, 200000, 299999}}))}));
    Start(L"loop.wav", true);
    std::vector<float> mix = RenderWithoutFrames(10);
    for (size_t i = 0; i < mix.size() / 2; ++i) {
        size_t source = i < 300000 ? i : 200000 + (i - 300000) % 100000;
        ASSERT_EQ(mix[2 * i], CountedLong(source)) << i;
    }
    // Told to leave the loop, it plays on to the end of its samples and stops.
    instance->Stop(false);
    RenderWithoutFrames(5);
    EXPECT_FALSE(instance->IsSounding());
}

TEST_F(Streaming, AFileCutOrRewrittenWhilePlayingEndsTheSoundWithAMessage) {
    WriteFile("cut.wav", CountingLong(10 * 44100));
    WriteFile("rewritten.wav", CountingLong(10 * 44100));
    songtest::WriteSong("cut.ogg", songtest::Tone(10, 2, 44100, 440, 0.5f), 2, 44100);
    for (const char* name : {"cut.wav", "rewritten.wav", "cut.ogg"}) {
        Start(std::wstring(name, name + std::strlen(name)));
        RenderWithoutFrames(0.5);
        // The feeder thread may read the next piece at once: listen before the change.
        testing::internal::CaptureStderr();
        if (std::string(name) == "rewritten.wav") {
            WriteFile(name, Bytes(std::filesystem::file_size(name), 0x11));
        } else {
            std::filesystem::resize_file(name, std::filesystem::file_size(name) / 3);
        }
        std::vector<float> after = RenderWithoutFrames(6);
        std::string lines = testing::internal::GetCapturedStderr();
        EXPECT_NE(lines.find(std::string("lyrandel: ") + name + ": the file was"),
                  std::string::npos)
            << lines;
        EXPECT_NE(lines.find("; the sound ends here"), std::string::npos) << lines;
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
        // What was queued before the change plays as it was; then the sound has ended.
        if (name[std::strlen(name) - 1] == 'v') {
            EXPECT_EQ(after[0], CountedLong(5 * kTenth)) << name;
        }
        EXPECT_FALSE(instance->IsSounding()) << name;
        EXPECT_TRUE(Silent(std::vector<float>(after.end() - 2 * kTenth, after.end()))) << name;
    }
    // The engine goes on: the cut file is now refused as any broken file is, and another
    // plays.
    instance.reset();
    EXPECT_THROW(SoundEffect(engine.get(), L"cut.wav"), SoundEffectError);
    WriteFile("next.wav", CountingLong(10 * 44100));
    Start(L"next.wav");
    EXPECT_EQ(RenderWithoutFrames(0.1)[0], CountedLong(0));
}
