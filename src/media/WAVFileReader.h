// The WAV file reader: reads a RIFF WAVE (or xWMA) file whole and finds in it, without
// copying, the wave format, the samples, the loop region and the seek table; and the check
// that decides whether a wave format can be played.
// Depends on: media/ComException.h (result codes), platform/Codepage.h (UTF-8 paths).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "media/ComException.h"

namespace DirectX {

constexpr uint16_t kWaveFormatPcm = 1;
constexpr uint16_t kWaveFormatAdpcm = 2;
constexpr uint16_t kWaveFormatFloat = 3;
constexpr uint16_t kWaveFormatWma2 = 0x161;
constexpr uint16_t kWaveFormatWma3 = 0x162;
constexpr uint16_t kWaveFormatXma2 = 0x166;
constexpr uint16_t kWaveFormatExtensible = 0xFFFE;
// The last 12 bytes of every standard sub-format id; its first 4 bytes hold the real tag.
inline constexpr uint8_t kSubFormatBaseTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                                   0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// What a read found; every pointer points into the caller's file data.
struct WaveFileInfo {
    const uint8_t* format = nullptr;  // payload of the "fmt " chunk
    uint32_t formatBytes = 0;         // its size, so readers of the format never overrun it
    const uint8_t* sampleStart = nullptr;
    uint32_t sampleBytes = 0;
    uint32_t loopStart = 0;              // first sample of the loop region
    uint32_t loopLength = 0;             // samples in it; 0 when the file names none
    const uint8_t* seekTable = nullptr;  // little-endian 32-bit entries, not aligned
    uint32_t seekCount = 0;
};

// A decoded copy of a "fmt " payload; fields the payload does not hold read as zero.
struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;
    // Extensible format.
    uint16_t validBitsPerSample = 0;
    uint32_t channelMask = 0;
    uint8_t subFormat[16] = {};
    // MS ADPCM (samples per block shares the place of the valid bits).
    uint16_t samplesPerBlock = 0;
    uint16_t coefficientCount = 0;
    int16_t coefficients[7][2] = {};
};

// Decodes the format payload of the given size.
WaveFormat DecodeWaveFormat(const uint8_t* payload, uint32_t bytes);
// The tag, looked through an extensible format to its sub-format.
uint32_t EffectiveFormatTag(const WaveFormat& format);
// True when the format is one that can be played (PCM, float, MS ADPCM, extensible PCM/float).
bool IsValidWaveFormat(const uint8_t* payload, uint32_t bytes);

// Finds format, samples, loop region and seek table in a whole file held in memory.
HRESULT ParseWavData(const uint8_t* data, size_t size, WaveFileInfo& info);
// Reads the named file whole into data and parses it; operating-system errors come back as
// 0x8007xxxx codes with the original platform's number for the condition, and errno in
// systemError when given. On failure data may hold the file; info is not to be used.
HRESULT ReadWavFile(const std::wstring& fileName, std::unique_ptr<uint8_t[]>& data,
                    size_t& dataBytes, WaveFileInfo& info, int* systemError = nullptr);

}  // namespace DirectX
