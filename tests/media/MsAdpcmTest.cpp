// MS ADPCM decoding: prediction from the two samples before, the adapting step, clamping, and
// a stereo file whose odd block length the sound library refuses, decoded here and played.
#include <gtest/gtest.h>

#include "LoopbackFixture.h"
#include "media/MsAdpcm.h"
#include "media/SoundEffect.h"
#include "media/SoundEffectInstance.h"

using namespace DirectX;
using namespace wavtest;

TEST(MsAdpcm, PredictsAdaptsAndClamps) {
    // Predictor 1 (512, -256), step 20, latest sample 100, the one before 50; nibbles 7, -8,
    // -1, 0. Worked by hand: 150 + 7 x 20 = 290, step 47; 480 - 8 x 47 = 104, step 141;
    // -82 - 141 = -223, step 126; -550 + 0.
    Bytes block;
    Put(block, 1, 1), Put(block, 20, 2), Put(block, 100, 2), Put(block, 50, 2);
    Put(block, 0x78, 1), Put(block, 0xF0, 1);
    int16_t out[6];
    DecodeMsAdpcmBlock(block.data(), block.size(), 1, 6, out);
    EXPECT_EQ(std::vector<int16_t>(out, out + 6),
              (std::vector<int16_t>{50, 100, 290, 104, -223, -550}));
    // A prediction beyond 16 bits is held at the limit.
    Bytes loud;
    Put(loud, 1, 1), Put(loud, 16, 2), Put(loud, 32000, 2), Put(loud, 0, 2), Put(loud, 0x70, 1);
    DecodeMsAdpcmBlock(loud.data(), loud.size(), 1, 4, out);
    EXPECT_EQ(out[2], 32767);
    // A damaged block whose step keeps growing (fuzz finding: the step overflowed) stays
    // within 16 bits; the sanitizer build checks the arithmetic.
    Bytes growing;
    Put(growing, 1, 1), Put(growing, 32767, 2), Put(growing, 0, 2), Put(growing, 0, 2);
    growing.resize(7 + 100, 0x77);
    std::vector<int16_t> many(202);
    DecodeMsAdpcmBlock(growing.data(), growing.size(), 1, 202, many.data());
    EXPECT_EQ(many.back(), 32767);
    // A block too short for its nibbles decodes the rest as silence, and a predictor index
    // beyond the seven pairs reads no further than the last.
    Bytes cut;
    Put(cut, 200, 1), Put(cut, 16, 2), Put(cut, 10, 2), Put(cut, 10, 2);
    DecodeMsAdpcmBlock(cut.data(), cut.size(), 1, 6, out);
    EXPECT_EQ(out[1], 10);
    EXPECT_EQ(out[5], 0);
}

namespace {

using AdpcmOnLoopback = LoopbackTest;

}  // namespace

TEST_F(AdpcmOnLoopback, StereoBlocksOfAnOddLengthPlay) {
    // Five samples a block (17 bytes): the format allows it, the sound library does not.
    // Left starts at 500, 1000 and climbs by the step 16; right mirrors it.
    Bytes block;
    Put(block, 0, 1), Put(block, 0, 1), Put(block, 16, 2), Put(block, 16, 2);
    Put(block, 1000, 2), Put(block, uint16_t(-1000), 2), Put(block, 500, 2),
        Put(block, uint16_t(-500), 2);
    for (int i = 0; i < 3; ++i) Put(block, 0x1F, 1);
    Bytes data = block;
    data.insert(data.end(), block.begin(), block.end());
    WriteFile("odd.wav", Riff({Chunk("fmt ", FmtAdpcm(2, 44100, 17)), Chunk("data", data)}));
    AudioEngine engine;
    SoundEffect effect(&engine, L"odd.wav");
    auto instance = effect.CreateInstance();
    instance->Play();
    std::vector<float> mix = Render(12);
    const int expected[5] = {500, 1000, 1016, 1032, 1048};
    for (int block = 0; block < 2; ++block)
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(mix[2 * (5 * block + i)], expected[i] / 32768.0f) << i;
            EXPECT_EQ(mix[2 * (5 * block + i) + 1], -expected[i] / 32768.0f) << i;
        }
    EXPECT_EQ(mix[20], 0.0f);
}
