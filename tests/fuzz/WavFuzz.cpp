// Fuzz target: the WAV reader and the format check on arbitrary bytes, then the sample
// preparation a sound effect does before it hands samples to the audio device.
// Depends on: media/WAVFileReader.h, media/WaveSamples.h.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/WAVFileReader.h"
#include "media/WaveSamples.h"

namespace {

// True when p..p+n lies inside the input; every pointer the reader returns must.
bool Inside(const uint8_t* p, size_t n, const uint8_t* data, size_t size) {
    return p >= data && p <= data + size && n <= static_cast<size_t>(data + size - p);
}

}  // namespace

// One file read; what was found must lie inside the file, and playable formats are prepared.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DirectX::WaveFileInfo info;
    if (DirectX::Failed(DirectX::ParseWavData(data, size, info))) return 0;
    if (!Inside(info.format, info.formatBytes, data, size) ||
        !Inside(info.sampleStart, info.sampleBytes, data, size) ||
        (info.seekTable && !Inside(info.seekTable, size_t{info.seekCount} * 4, data, size)))
        __builtin_trap();
    if (!DirectX::IsValidWaveFormat(info.format, info.formatBytes)) return 0;
    const DirectX::WaveFormat format = DirectX::DecodeWaveFormat(info.format, info.formatBytes);
    const uint32_t tag = DirectX::EffectiveFormatTag(format);
    if (tag != DirectX::kWaveFormatPcm && tag != DirectX::kWaveFormatAdpcm &&
        tag != DirectX::kWaveFormatFloat)
        return 0;
    if (!info.sampleStart || info.sampleBytes == 0) return 0;
    std::vector<float> storage;
    const platform::SoundData sound =
        DirectX::PrepareSamples(format, info.sampleStart, info.sampleBytes, storage);
    // The device reads these bytes without our checks, so they must lie in the file or storage.
    const auto* bytes = static_cast<const uint8_t*>(sound.bytes);
    const auto* stored = reinterpret_cast<const uint8_t*>(storage.data());
    if (!Inside(bytes, sound.size, info.sampleStart, info.sampleBytes) &&
        !Inside(bytes, sound.size, stored, storage.size() * sizeof(float)))
        __builtin_trap();
    return 0;
}
