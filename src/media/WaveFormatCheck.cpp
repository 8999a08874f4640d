// Decoding of a "fmt " payload and the check that decides whether a wave format can be played.
// Depends on: media/WAVFileReader.h.
#include <bit>
#include <cstring>

#include "media/WAVFileReader.h"

namespace DirectX {
namespace {

constexpr int16_t kAdpcmCoefficients[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                                              {240, 0}, {460, -208}, {392, -232}};

// Little-endian 16-bit value at offset, or 0 when it lies past bytes.
uint16_t Field16(const uint8_t* p, uint32_t bytes, uint32_t offset) {
    return offset + 2 <= bytes ? uint16_t(p[offset] | p[offset + 1] << 8) : 0;
}

// Little-endian 32-bit value at offset, or 0 when it lies past bytes.
uint32_t Field32(const uint8_t* p, uint32_t bytes, uint32_t offset) {
    return uint32_t(Field16(p, bytes, offset)) | uint32_t(Field16(p, bytes, offset + 2)) << 16;
}

// Block align and average rate of PCM or float with the given container bits.
bool RatesMatch(const WaveFormat& f, uint32_t bits) {
    uint32_t align = uint32_t(f.channels) * bits / 8;
    return f.blockAlign == align && f.avgBytesPerSec == align * f.samplesPerSec;
}

// Plain PCM: 8, 16, 24 or 32 bits with consistent rates.
bool CheckPcm(const WaveFormat& f) {
    uint32_t bits = f.bitsPerSample;
    return (bits == 8 || bits == 16 || bits == 24 || bits == 32) && RatesMatch(f, bits);
}

// IEEE float: 32 bits with consistent rates.
bool CheckFloat(const WaveFormat& f) { return f.bitsPerSample == 32 && RatesMatch(f, 32); }

// MS ADPCM with the standard coefficients and a block size that fits its sample count.
bool CheckAdpcm(const WaveFormat& f) {
    if (f.channels != 1 && f.channels != 2) return false;
    if (f.bitsPerSample != 4 || f.extraSize != 32 || f.coefficientCount != 7) return false;
    if (std::memcmp(f.coefficients, kAdpcmCoefficients, sizeof(kAdpcmCoefficients)) != 0)
        return false;
    if (f.samplesPerBlock < 4 || f.samplesPerBlock > 64000) return false;
    if (f.channels == 1 && f.samplesPerBlock % 2 != 0) return false;
    int64_t perBlock = (int64_t(f.blockAlign) - 7 * f.channels) * 8 / (4 * f.channels) + 2;
    return perBlock == f.samplesPerBlock;
}

// Extensible PCM or float, with valid bits and channel mask consistent with the container.
bool CheckExtensible(const WaveFormat& f) {
    if (f.extraSize < 22 || std::memcmp(f.subFormat + 4, kSubFormatBaseTail, 12) != 0) return false;
    if (f.channelMask != 0 && std::popcount(f.channelMask) != f.channels) return false;
    uint32_t valid = f.validBitsPerSample;
    switch (EffectiveFormatTag(f)) {
        case kWaveFormatPcm:
            if (valid != 0 && valid != 8 && valid != 16 && valid != 20 && valid != 24 &&
                valid != 32)
                return false;
            return valid <= f.bitsPerSample && CheckPcm(f);
        case kWaveFormatFloat:
            return (valid == 0 || valid == 32) && CheckFloat(f);
        default:
            return false;
    }
}

}  // namespace

WaveFormat DecodeWaveFormat(const uint8_t* p, uint32_t bytes) {
    WaveFormat f;
    if (!p) return f;
    f.formatTag = Field16(p, bytes, 0);
    f.channels = Field16(p, bytes, 2);
    f.samplesPerSec = Field32(p, bytes, 4);
    f.avgBytesPerSec = Field32(p, bytes, 8);
    f.blockAlign = Field16(p, bytes, 12);
    f.bitsPerSample = Field16(p, bytes, 14);
    if (f.formatTag == kWaveFormatPcm || f.formatTag == kWaveFormatFloat) return f;
    f.extraSize = Field16(p, bytes, 16);
    f.validBitsPerSample = f.samplesPerBlock = Field16(p, bytes, 18);
    f.channelMask = Field32(p, bytes, 20);
    f.coefficientCount = Field16(p, bytes, 20);
    for (uint32_t i = 0; i < 16 && 24 + i < bytes; ++i) f.subFormat[i] = p[24 + i];
    for (uint32_t i = 0; i < 7; ++i) {
        f.coefficients[i][0] = int16_t(Field16(p, bytes, 22 + 4 * i));
        f.coefficients[i][1] = int16_t(Field16(p, bytes, 24 + 4 * i));
    }
    return f;
}

uint32_t EffectiveFormatTag(const WaveFormat& f) {
    if (f.formatTag != kWaveFormatExtensible) return f.formatTag;
    return uint32_t(f.subFormat[0]) | uint32_t(f.subFormat[1]) << 8 |
           uint32_t(f.subFormat[2]) << 16 | uint32_t(f.subFormat[3]) << 24;
}

bool IsValidWaveFormat(const uint8_t* payload, uint32_t bytes) {
    if (!payload || bytes < 16) return false;
    WaveFormat f = DecodeWaveFormat(payload, bytes);
    if (f.channels == 0 || f.channels > 64) return false;
    if (f.samplesPerSec < 1000 || f.samplesPerSec > 200000) return false;
    switch (f.formatTag) {
        case kWaveFormatPcm:
            return CheckPcm(f);
        case kWaveFormatFloat:
            return CheckFloat(f);
        case kWaveFormatAdpcm:
            return CheckAdpcm(f);
        case kWaveFormatExtensible:
            return CheckExtensible(f);
        default:
            return false;
    }
}

}  // namespace DirectX
