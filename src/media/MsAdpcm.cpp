// MS ADPCM block decoding: each sample predicted from the two before it with the block's
// coefficient pair, corrected by a signed nibble times a step that adapts to the nibbles.
// Depends on: media/MsAdpcm.h.
#include "media/MsAdpcm.h"

#include <algorithm>

namespace DirectX {
namespace {

// The seven standard coefficient pairs (the format check accepts no others), in 1/256.
constexpr int kCoefficients[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                                     {240, 0}, {460, -208}, {392, -232}};
// How the step grows or shrinks after each nibble, in 1/256.
constexpr int kAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                 768, 614, 512, 409, 307, 230, 230, 230};

// One channel's decoder state.
struct Channel {
    int coef1 = 0;
    int coef2 = 0;
    int delta = 0;
    int sample1 = 0;  // the latest sample
    int sample2 = 0;  // the one before it
};

// Signed little-endian 16-bit value at p.
int Signed16(const uint8_t* p) { return int16_t(uint16_t(p[0] | p[1] << 8)); }

// The next sample of a channel from one nibble.
int16_t Step(Channel& c, unsigned nibble) {
    int signedNibble = nibble >= 8 ? int(nibble) - 16 : int(nibble);
    int predicted = (c.sample1 * c.coef1 + c.sample2 * c.coef2) / 256;
    int sample = std::clamp(predicted + signedNibble * c.delta, -32768, 32767);
    c.sample2 = c.sample1;
    c.sample1 = sample;
    // The floor is the format's; the ceiling (far above any step a 16-bit signal needs) only
    // keeps a damaged block's step from overflowing the products above.
    c.delta = std::clamp(kAdaptation[nibble] * c.delta / 256, 16, 1 << 20);
    return int16_t(sample);
}

}  // namespace

void DecodeMsAdpcmBlock(const uint8_t* block, size_t blockBytes, uint32_t channels,
                        uint32_t samplesPerBlock, int16_t* out) {
    std::fill(out, out + size_t(samplesPerBlock) * channels, int16_t(0));
    if (channels < 1 || channels > 2 || samplesPerBlock < 2 ||
        blockBytes < kAdpcmHeaderBytes * channels)
        return;
    // The header holds each field for every channel before the next field.
    Channel state[2];
    for (uint32_t ch = 0; ch < channels; ++ch) {
        const int* pair = kCoefficients[std::min<unsigned>(block[ch], 6)];
        state[ch].coef1 = pair[0];
        state[ch].coef2 = pair[1];
        state[ch].delta = Signed16(block + channels + 2 * ch);
        state[ch].sample1 = Signed16(block + 3 * channels + 2 * ch);
        state[ch].sample2 = Signed16(block + 5 * channels + 2 * ch);
        // The block's first two frames are the starting samples, older one first.
        out[ch] = int16_t(state[ch].sample2);
        out[channels + ch] = int16_t(state[ch].sample1);
    }
    // Then one nibble per sample, high nibble first, channels interleaved.
    const uint8_t* nibbles = block + kAdpcmHeaderBytes * channels;
    size_t available = 2 * (blockBytes - kAdpcmHeaderBytes * channels);
    size_t total = size_t(samplesPerBlock - 2) * channels;
    for (size_t i = 0; i < total && i < available; ++i) {
        uint8_t byte = nibbles[i / 2];
        unsigned nibble = i % 2 == 0 ? byte >> 4 : byte & 0x0F;
        out[2 * channels + i] = Step(state[i % channels], nibble);
    }
}

}  // namespace DirectX
