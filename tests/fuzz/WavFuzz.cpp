// Fuzz target: the WAV reader and the format check on arbitrary bytes, then the sample
// conversion a sound effect does before it hands samples to the audio device (whole, and a
// piece from the middle as a stream reads it).
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
    const DirectX::SampleLayout layout = DirectX::LayoutOf(format);
    if (layout.unitBytes == 0 || layout.unitFrames == 0) __builtin_trap();
    // Only whole units are converted; each gives its frames at the stereo frame size.
    const size_t units = info.sampleBytes / layout.unitBytes;
    std::vector<uint8_t> out;
    const size_t frames = DirectX::ConvertUnits(layout, info.sampleStart, units, out);
    if (frames != units * layout.unitFrames || out.size() != frames * OutFrameBytes(layout))
        __builtin_trap();
    return 0;
}
