// A sound moved from its start: later into itself or after silence, to the sample, short
// sounds (held whole) and long or compressed ones (streamed) alike; 8-bit silence is silent;
// a start beyond the end plays nothing; a start of 0 is the plain play.
#include <gtest/gtest.h>

#include "LoopbackFixture.h"
#include "SongWriter.h"
#include "media/AudioEngine.h"
#include "media/SoundEffect.h"
#include "media/SoundEffectInstance.h"

using namespace DirectX;
using namespace wavtest;

namespace {

// 37 ms at 44100 Hz is 1631.7 frames: the start moves by the nearest whole frame.
constexpr double kMs = 37.0;
constexpr size_t kShift = 1632;

class StartOffset : public EngineOnLoopback {
  protected:
    // Plays the file from startMs and renders seconds of the mix, the feeder let run between
    // tenths of a second.
    std::vector<float> PlayFrom(const std::wstring& name, double startMs, double seconds) {
        effect = std::make_unique<SoundEffect>(engine.get(), name);
        instance = effect->CreateInstance(kInstanceReservedVoice);
        instance->SetStartOffset(startMs);
        instance->Play(false);
        return RenderFed(*engine, seconds);
    }

    // Checks the left channel: silence before lead, then the counting sound from frame from on,
    // for frames frames, then silence.
    static void ExpectCounting(const std::vector<float>& mix, size_t lead, size_t from,
                               size_t frames) {
        for (size_t i = 0; i < mix.size() / 2; ++i) {
            const bool sounding = i >= lead && i - lead < frames - from;
            const float expected = sounding ? CountedLong(i - lead + from) : 0.0f;
            ASSERT_EQ(mix[2 * i], expected) << "frame " << i;
        }
    }
};

}  // namespace

TEST_F(StartOffset, ShortAndLongSoundsStartLaterIntoThemselvesOrAfterSilence) {
    WriteFile("short.wav", CountingLong(20000));     // held whole
    WriteFile("long.wav", CountingLong(3 * 44100));  // streamed
    for (const wchar_t* name : {L"short.wav", L"long.wav"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        const size_t frames = name[0] == L's' ? 20000 : 3 * 44100;
        ExpectCounting(PlayFrom(name, kMs, 3.5), 0, kShift, frames);
        ExpectCounting(PlayFrom(name, -kMs, 3.5), kShift, 0, frames);
        ExpectCounting(PlayFrom(name, 0, 3.5), 0, 0, frames);
    }
}

TEST_F(StartOffset, CompressedSongsSkipExactlyAsManyFrames) {
    std::vector<int16_t> s;
    for (size_t i = 0; i < 44100; ++i) s.push_back(int16_t(i % 30000 + 1)), s.push_back(0);
    ASSERT_TRUE(songtest::WriteSong16("song.flac", s, 2, 44100));
    ExpectCounting(PlayFrom(L"song.flac", kMs, 1.5), 0, kShift, 44100);
    ExpectCounting(PlayFrom(L"song.flac", -kMs, 1.5), kShift, 0, 44100);
}

TEST_F(StartOffset, EightBitSilenceIsSilentAndAStartPastTheEndPlaysNothing) {
    Bytes u8;
    for (int i = 0; i < 4410; ++i) u8.push_back(200), u8.push_back(200);
    WriteFile("u8.wav", Riff({Chunk("fmt ", Fmt(1, 2, 44100, 8)), Chunk("data", u8)}));
    std::vector<float> mix = PlayFrom(L"u8.wav", -50.0, 0.3);
    for (size_t i = 0; i < 2205; ++i) ASSERT_EQ(mix[2 * i], 0.0f) << i;
    EXPECT_NE(mix[2 * 2205], 0.0f);
    WriteFile("short.wav", CountingLong(4410));
    EXPECT_TRUE(Silent(PlayFrom(L"short.wav", 200.0, 0.3)));
    EXPECT_FALSE(instance->IsSounding());
}
