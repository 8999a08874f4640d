// Sample layout conversion for the audio back end.
// Depends on: media/WaveSamples.h.
#include "media/WaveSamples.h"

#include <cstring>

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

// Converts every frame to float, mixing channels beyond two down: even-numbered channels to
// the left, odd-numbered to the right, each side averaged.
void ConvertToFloat(const WaveFormat& f, const uint8_t* samples, uint32_t bytes, bool isFloat,
                    std::vector<float>& out, uint32_t& outChannels) {
    uint32_t channels = f.channels;
    uint32_t width = f.bitsPerSample / 8;
    size_t frames = bytes / (size_t(width) * channels);
    outChannels = channels > 2 ? 2 : channels;
    out.assign(frames * outChannels, 0.0f);
    float leftShare = 1.0f / float((channels + 1) / 2);
    float rightShare = channels > 1 ? 1.0f / float(channels / 2) : 0.0f;
    for (size_t i = 0; i < frames; ++i) {
        const uint8_t* frame = samples + i * width * channels;
        for (uint32_t c = 0; c < channels; ++c) {
            float v = SampleAt(frame + c * width, f.bitsPerSample, isFloat);
            if (outChannels == channels) {
                out[i * outChannels + c] = v;
            } else {
                out[i * 2 + (c % 2)] += v * (c % 2 ? rightShare : leftShare);
            }
        }
    }
}

}  // namespace

platform::SoundData PrepareSamples(const WaveFormat& f, const uint8_t* samples, uint32_t bytes,
                                   std::vector<float>& storage) {
    platform::SoundData d;
    d.channels = f.channels;
    d.rate = f.samplesPerSec;
    d.bytes = samples;
    d.size = bytes;
    uint32_t tag = EffectiveFormatTag(f);
    if (tag == kWaveFormatAdpcm) {
        d.type = platform::SampleType::kMsAdpcm;
        d.samplesPerBlock = f.samplesPerBlock;
        return d;
    }
    bool isFloat = tag == kWaveFormatFloat;
    if (f.channels <= 2 && !isFloat && (f.bitsPerSample == 8 || f.bitsPerSample == 16)) {
        d.type = f.bitsPerSample == 8 ? platform::SampleType::kUnsigned8
                                      : platform::SampleType::kSigned16;
        return d;
    }
    d.type = platform::SampleType::kFloat32;
    if (f.channels <= 2 && isFloat) return d;
    ConvertToFloat(f, samples, bytes, isFloat, storage, d.channels);
    d.bytes = storage.data();
    d.size = storage.size() * sizeof(float);
    return d;
}

}  // namespace DirectX
