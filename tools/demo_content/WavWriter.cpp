// WAV encoding: a 44-byte header ("RIFF", "fmt " of tag 1, "data") and interleaved samples.
// Depends on: WavWriter.h.
#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace democontent {

namespace {

// Appends a little-endian unsigned value of the given byte count.
void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// One sample as 16-bit PCM, rounded and clipped.
int16_t ToPcm(float v) {
    long s = std::lround(std::clamp(v, -1.f, 1.f) * 32767.f);
    return static_cast<int16_t>(s);
}

}  // namespace

// A RIFF WAVE file image of the buffer.
std::string EncodeWav(const StereoBuffer& sound) {
    const uint32_t channels = 2, bits = 16;
    const uint32_t blockAlign = channels * bits / 8;
    const uint32_t dataBytes = static_cast<uint32_t>(sound.Frames()) * blockAlign;
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    PutLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, channels, 2);
    PutLe(out, kSampleRate, 4);
    PutLe(out, kSampleRate * blockAlign, 4);
    PutLe(out, blockAlign, 2);
    PutLe(out, bits, 2);
    out += "data";
    PutLe(out, dataBytes, 4);
    for (size_t i = 0; i < sound.Frames(); ++i) {
        PutLe(out, static_cast<uint16_t>(ToPcm(sound.Left(i))), 2);
        PutLe(out, static_cast<uint16_t>(ToPcm(sound.Right(i))), 2);
    }
    return out;
}

}  // namespace democontent
