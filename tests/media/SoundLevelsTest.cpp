// True levels on every speaker layout the loopback device mixes for (stereo, stereo with the
// headphone filter, 5.1): a mono sound reaches both sides at its sample value times the
// volume; stereo goes straight through; more channels are mixed down by speaker with the
// shares of the downmix and no clipping.
#include <gtest/gtest.h>

#include "LoopbackFixture.h"
#include "media/AudioEngine.h"
#include "media/SoundEffect.h"
#include "media/SoundEffectInstance.h"
#include "media/StereoMix.h"
#include "media/WaveSamples.h"

using namespace DirectX;
using namespace wavtest;

namespace {

constexpr float kHalf = 0.70710678f;

class SoundLevels : public LoopbackTest,
                    public ::testing::WithParamInterface<platform::LoopbackLayout> {
  protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        std::string error;
        ASSERT_TRUE(platform::SelectLoopbackOutput(true, &error, GetParam())) << error;
        engine = std::make_unique<AudioEngine>();
        ASSERT_TRUE(engine->IsAudioDevicePresent());
    }
    void TearDown() override {
        engine.reset();
        LoopbackTest::TearDown();
    }

    // Plays the file once at the volume and returns the first frames of the mix as (left,
    // right) pairs; on 5.1 every other speaker must stay silent.
    std::vector<std::pair<float, float>> Play(const Bytes& file, size_t frames,
                                              float volume = 1.0f) {
        WriteFile("s.wav", file);
        SoundEffect effect(engine.get(), L"s.wav");
        auto instance = effect.CreateInstance();
        instance->SetVolume(volume);
        instance->Play();
        size_t channels = platform::LoopbackChannels();
        std::vector<float> mix(frames * channels);
        platform::RenderLoopback(mix.data(), frames);
        std::vector<std::pair<float, float>> out;
        for (size_t i = 0; i < frames; ++i) {
            out.emplace_back(mix[i * channels], mix[i * channels + 1]);
            for (size_t c = 2; c < channels; ++c) EXPECT_EQ(mix[i * channels + c], 0.0f) << c;
        }
        return out;
    }

    std::unique_ptr<AudioEngine> engine;
};

// A 16-bit file of channels channels in which channel c holds 0.5 at frame 10 c only.
Bytes Impulses(uint16_t channels, const Bytes& fmt) {
    std::vector<int16_t> s(size_t(channels) * 10 * channels, 0);
    for (uint16_t c = 0; c < channels; ++c) s[size_t(10 * c) * channels + c] = 16384;
    return Riff({Chunk("fmt ", fmt), Chunk("data", Samples16(s))});
}

}  // namespace

TEST_P(SoundLevels, MonoAndStereoKeepTheirLevels) {
    // A 0.5 mono tone as title music at scale 0.8: 0.4 on each side, as stereo gives.
    auto mono = Play(PcmFile(1, std::vector<int16_t>(64, 16384)), 32, 0.8f);
    EXPECT_FLOAT_EQ(mono[20].first, 0.4f);
    EXPECT_FLOAT_EQ(mono[20].second, 0.4f);
    auto stereo = Play(PcmFile(2, {16384, -8192, 16384, -8192}), 2, 0.8f);
    EXPECT_FLOAT_EQ(stereo[1].first, 0.4f);
    EXPECT_FLOAT_EQ(stereo[1].second, -0.2f);
    // Mono 8-bit, 24-bit and float take the same road.
    auto mono8 = Play(Riff({Chunk("fmt ", Fmt(1, 1, 44100, 8)), Chunk("data", Bytes(8, 192))}), 4);
    EXPECT_EQ(mono8[2], std::make_pair(0.5f, 0.5f));
    Bytes pcm24;
    for (int i = 0; i < 4; ++i) Put(pcm24, 0x400000, 3);
    auto mono24 = Play(Riff({Chunk("fmt ", Fmt(1, 1, 44100, 24)), Chunk("data", pcm24)}), 4);
    EXPECT_EQ(mono24[3], std::make_pair(0.5f, 0.5f));
    // MS ADPCM mono: the block's starting samples, then a flat line.
    Bytes block;
    Put(block, 0, 1), Put(block, 16, 2), Put(block, 2000, 2), Put(block, 1000, 2);
    block.resize(512, 0);
    auto adpcm = Play(Riff({Chunk("fmt ", FmtAdpcm(1, 44100, 512)), Chunk("data", block)}), 4);
    EXPECT_EQ(adpcm[0], std::make_pair(1000 / 32768.0f, 1000 / 32768.0f));
    EXPECT_EQ(adpcm[3], std::make_pair(2000 / 32768.0f, 2000 / 32768.0f));
}

TEST_P(SoundLevels, SixChannelsMixDownBySpeakerWithoutClipping) {
    // 5.1 in its usual order: FL FR FC LFE BL BR. The left side takes FL whole and FC and BL
    // at half power, 1 + 2 x 0.7071 in all, so every share is divided by that sum.
    const float s = 1.0f / (1.0f + 2 * kHalf);
    auto mix = Play(Impulses(6, Fmt(1, 6, 44100, 16)), 60);
    const std::pair<float, float> expected[6] = {{s, 0}, {0, s},         {kHalf * s, kHalf * s},
                                                 {0, 0}, {kHalf * s, 0}, {0, kHalf * s}};
    for (int c = 0; c < 6; ++c) {
        EXPECT_NEAR(mix[10 * c].first, 0.5f * expected[c].first, 1e-6) << c;
        EXPECT_NEAR(mix[10 * c].second, 0.5f * expected[c].second, 1e-6) << c;
        EXPECT_EQ(mix[10 * c + 5], std::make_pair(0.0f, 0.0f)) << c;
    }
    // Every channel at full scale at once reaches exactly full scale, never beyond.
    std::vector<int16_t> full(6 * 4, 32767);
    auto loud =
        Play(Riff({Chunk("fmt ", Fmt(1, 6, 44100, 16)), Chunk("data", Samples16(full))}), 4);
    EXPECT_NEAR(loud[2].first, 32767 / 32768.0f, 1e-6);
    EXPECT_LE(loud[2].first, 1.0f);
}

TEST_P(SoundLevels, TheChannelMaskPlacesTheChannels) {
    // Four channels named front left, front right, front centre and back centre (not the
    // quad order the count alone would give): the fourth sounds on both sides at half.
    auto mix = Play(Impulses(4, FmtExtensible(1, 4, 44100, 16, 16, 0x107)), 40);
    const float s = 1.0f / (1.0f + kHalf + 0.5f);
    EXPECT_NEAR(mix[20].first, 0.5f * kHalf * s, 1e-6);
    EXPECT_NEAR(mix[30].first, 0.5f * 0.5f * s, 1e-6);
    EXPECT_NEAR(mix[30].second, 0.5f * 0.5f * s, 1e-6);
    // A stereo file named as two back speakers is quieter, not louder, than two fronts.
    auto back = Play(Impulses(2, FmtExtensible(1, 2, 44100, 16, 16, 0x30)), 20);
    EXPECT_NEAR(back[0].first, 0.5f * kHalf, 1e-6);
    EXPECT_EQ(back[0].second, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, SoundLevels,
                         ::testing::Values(platform::LoopbackLayout::kStereo,
                                           platform::LoopbackLayout::kHeadphones,
                                           platform::LoopbackLayout::kSurround51));

TEST(StereoMix, SharesOfTheUsualLayouts) {
    // One channel is mono whatever it is called; two fronts go straight.
    EXPECT_EQ(StereoMixFor(SpeakersOf(kSpeakerFrontCentre, 1)).left, std::vector<float>{1.0f});
    EXPECT_TRUE(StereoMixFor(SpeakersOf(0, 2)).IsStraightStereo());
    EXPECT_FALSE(StereoMixFor(SpeakersOf(0x30, 2)).IsStraightStereo());
    // A mask that does not name one speaker per channel gives way to the usual layout.
    EXPECT_EQ(SpeakersOf(0x3, 6), SpeakersOf(0, 6));
    // 7.1, and twelve channels of which the last four have no known place: no side of any of
    // them adds up to more than full scale, and the low-frequency channel is left out.
    for (uint32_t channels : {3u, 4u, 5u, 6u, 7u, 8u, 12u}) {
        StereoMix mix = StereoMixFor(SpeakersOf(0, channels));
        float left = 0, right = 0;
        for (size_t c = 0; c < channels; ++c) left += mix.left[c], right += mix.right[c];
        EXPECT_LE(std::max(left, right), 1.0f + 1e-6f) << channels;
        EXPECT_NEAR(std::max(left, right), 1.0f, 1e-6f) << channels;
    }
    EXPECT_EQ(StereoMixFor(SpeakersOf(0, 8)).left[3], 0.0f);
}

TEST(SampleConversion, NoWholeUnitGivesNothing) {
    // Fuzz finding: a file with less than one frame of samples converted nothing into an
    // empty buffer through a null pointer.
    for (uint16_t bits : {16, 24})
        for (uint16_t channels : {1, 2, 6}) {
            Bytes fmt = Fmt(1, channels, 44100, bits);
            std::vector<uint8_t> out;
            const uint8_t byte = 0;
            EXPECT_EQ(ConvertUnits(LayoutOf(DecodeWaveFormat(fmt.data(), uint32_t(fmt.size()))),
                                   &byte, 0, out),
                      0u);
            EXPECT_TRUE(out.empty());
        }
}
