// Sample layout conversion for the audio back end.
// Depends on: media/WaveSamples.h, media/MsAdpcm.h.
#include "media/WaveSamples.h"

#include <cstring>

#include "media/MsAdpcm.h"

namespace DirectX {
namespace {

// One PCM or float sample of the given container width as a float in [-1, 1).
float SampleAt(const uint8_t* p, uint32_t bits, bool isFloat) {
    if (isFloat) {
        float v;
        std::memcpy(&v, p, 4);
        return v;
    }
    switch (bits) {
        case 8:
            return (float(p[0]) - 128.0f) / 128.0f;
        case 16:
            return float(int16_t(p[0] | p[1] << 8)) / 32768.0f;
        case 24: {
            int32_t v = int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24);
            return float(v) / 2147483648.0f;
        }
        default: {
            int32_t v = int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                uint32_t(p[3]) << 24);
            return float(v) / 2147483648.0f;
        }
    }
}

// Appends n bytes to out and returns where they start.
uint8_t* Grow(std::vector<uint8_t>& out, size_t n) {
    size_t at = out.size();
    out.resize(at + n);
    return out.data() + at;
}

// Mono integer samples of the given byte width, each written to both sides.
void Double(const uint8_t* in, size_t frames, size_t width, std::vector<uint8_t>& out) {
    uint8_t* o = Grow(out, frames * 2 * width);
    for (size_t i = 0; i < frames; ++i, in += width, o += 2 * width) {
        std::memcpy(o, in, width);
        std::memcpy(o + width, in, width);
    }
}

// MS ADPCM blocks decoded to 16-bit stereo.
size_t DecodeBlocks(const SampleLayout& l, const uint8_t* in, size_t blocks,
                    std::vector<uint8_t>& out) {
    std::vector<int16_t> block(size_t(l.unitFrames) * l.channels);
    size_t frames = blocks * l.unitFrames;
    uint8_t* o = Grow(out, frames * 4);
    for (size_t b = 0; b < blocks; ++b, in += l.unitBytes) {
        DecodeMsAdpcmBlock(in, l.unitBytes, l.channels, l.unitFrames, block.data());
        for (size_t i = 0; i < l.unitFrames; ++i, o += 4) {
            int16_t left = block[i * l.channels];
            int16_t right = block[i * l.channels + l.channels - 1];
            std::memcpy(o, &left, 2);
            std::memcpy(o + 2, &right, 2);
        }
    }
    return frames;
}

// PCM or float frames of any channel count mixed to stereo float.
void MixFrames(const SampleLayout& l, const uint8_t* in, size_t frames, std::vector<uint8_t>& out) {
    bool isFloat = l.tag == kWaveFormatFloat;
    uint32_t width = l.bits / 8;
    uint8_t* o = Grow(out, frames * 8);
    for (size_t i = 0; i < frames; ++i, in += l.unitBytes, o += 8) {
        float pair[2] = {0, 0};
        for (uint32_t c = 0; c < l.channels; ++c) {
            float v = SampleAt(in + c * width, l.bits, isFloat);
            pair[0] += v * l.mix.left[c];
            pair[1] += v * l.mix.right[c];
        }
        std::memcpy(o, pair, 8);
    }
}

}  // namespace

SampleLayout LayoutOf(const WaveFormat& f) {
    SampleLayout l;
    l.tag = EffectiveFormatTag(f);
    l.channels = f.channels;
    l.bits = f.bitsPerSample;
    l.rate = f.samplesPerSec;
    uint32_t mask = f.formatTag == kWaveFormatExtensible ? f.channelMask : 0;
    l.mix = StereoMixFor(SpeakersOf(mask, f.channels));
    if (l.tag == kWaveFormatAdpcm) {
        l.unitBytes = f.blockAlign;
        l.unitFrames = f.samplesPerBlock;
        l.outType = platform::SampleType::kSigned16;
        return l;
    }
    l.unitBytes = size_t(f.channels) * (f.bitsPerSample / 8);
    bool small = l.tag == kWaveFormatPcm && (l.bits == 8 || l.bits == 16) && l.channels <= 2;
    bool straight = l.channels == 1 || l.mix.IsStraightStereo();
    if (small && straight) {
        l.outType =
            l.bits == 8 ? platform::SampleType::kUnsigned8 : platform::SampleType::kSigned16;
        l.passThrough = l.channels == 2;
        return l;
    }
    l.outType = platform::SampleType::kFloat32;
    l.passThrough = l.tag == kWaveFormatFloat && l.bits == 32 && l.channels == 2 && straight;
    return l;
}

size_t OutFrameBytes(const SampleLayout& l) {
    switch (l.outType) {
        case platform::SampleType::kUnsigned8:
            return 2;
        case platform::SampleType::kSigned16:
            return 4;
        case platform::SampleType::kFloat32:
            return 8;
    }
    return 8;
}

size_t ConvertUnits(const SampleLayout& l, const uint8_t* in, size_t units,
                    std::vector<uint8_t>& out) {
    if (units == 0) return 0;
    if (l.tag == kWaveFormatAdpcm) return DecodeBlocks(l, in, units, out);
    if (l.passThrough) {
        std::memcpy(Grow(out, units * l.unitBytes), in, units * l.unitBytes);
    } else if (l.outType != platform::SampleType::kFloat32) {
        Double(in, units, l.bits / 8, out);
    } else {
        MixFrames(l, in, units, out);
    }
    return units;
}

void MixFloatFrames(const StereoMix& mix, const float* in, size_t frames,
                    std::vector<uint8_t>& out) {
    size_t channels = mix.left.size();
    uint8_t* o = Grow(out, frames * 8);
    for (size_t i = 0; i < frames; ++i, in += channels, o += 8) {
        float pair[2] = {0, 0};
        for (size_t c = 0; c < channels; ++c) {
            pair[0] += in[c] * mix.left[c];
            pair[1] += in[c] * mix.right[c];
        }
        std::memcpy(o, pair, 8);
    }
}

}  // namespace DirectX
