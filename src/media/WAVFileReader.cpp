// The WAV file reader: whole-file read, chunk walks without pad bytes, format and data, loop
// region ("wsmp" then "smpl") and seek tables, each failure with its own result code.
// Depends on: media/WAVFileReader.h, media/SoundFile.h (the read), platform/Codepage.h.
#include "media/WAVFileReader.h"

#include <cstring>

#include "media/SoundFile.h"
#include "platform/Codepage.h"

namespace DirectX {
namespace {

constexpr size_t kMinFileBytes = 34;

// A chunk found by a walk: its payload offset and payload size.
struct Chunk {
    size_t payload = 0;
    uint32_t size = 0;
};

// Little-endian 32-bit value at p.
uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Little-endian 16-bit value at p.
uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// Walks chunks back to back from begin and returns the first with the id, or false; the walk
// ends when fewer than 9 bytes remain before end. Odd sizes are not padded.
bool FindChunk(const uint8_t* data, size_t begin, size_t end, const char (&id)[5], Chunk& out) {
    size_t pos = begin;
    while (pos < end && end - pos >= 9) {
        uint32_t size = Read32(data + pos + 4);
        if (std::memcmp(data + pos, id, 4) == 0) {
            out = {pos + 8, size};
            return true;
        }
        if (size > end - pos - 8) return false;
        pos += 8 + size;
    }
    return false;
}

// True when the chunk's payload runs past the end of the file.
bool PastEnd(const Chunk& chunk, size_t fileBytes) {
    return chunk.payload > fileBytes || chunk.size > fileBytes - chunk.payload;
}

// The region of the RIFF sub-chunks, found with the checks every search repeats.
struct RiffRegion {
    size_t begin = 0;
    size_t end = 0;
    bool xwma = false;
};

// Finds "RIFF", its form type and the region of its sub-chunks.
HRESULT FindRiff(const uint8_t* data, size_t size, size_t minBytes, RiffRegion& out) {
    if (size < minBytes) return kFail;
    Chunk riff;
    if (!FindChunk(data, 0, size, "RIFF", riff) || riff.size < 4) return kFail;
    const uint8_t* form = data + riff.payload;
    if (riff.payload + 4 > size) return kHandleEof;
    bool wave = std::memcmp(form, "WAVE", 4) == 0;
    bool xwma = std::memcmp(form, "XWMA", 4) == 0;
    if (!wave && !xwma) return kFail;
    size_t begin = riff.payload + 4;
    if (begin + 8 > size) return kHandleEof;
    out.begin = begin;
    // The RIFF size counts from the form type; never walk past the file.
    size_t declared = begin - 4 + size_t(riff.size);
    out.end = declared < size ? declared : size;
    out.xwma = xwma;
    return kOk;
}

// Checks the extra bytes of a non-PCM, non-float format and names its seek-table chunk.
HRESULT CheckCompressedFormat(const uint8_t* fmt, uint32_t bytes, const char** seekId) {
    if (bytes < 18) return kFail;
    uint16_t tag = Read16(fmt);
    uint32_t extra = Read16(fmt + 16);
    if (bytes < 18 + extra) return kFail;
    switch (tag) {
        case kWaveFormatExtensible: {
            if (bytes < 40 || extra < 22) return kFail;
            if (std::memcmp(fmt + 24 + 4, kSubFormatBaseTail, sizeof(kSubFormatBaseTail)) != 0)
                return kNotSupported;
            uint32_t real = Read32(fmt + 24);
            if (real == kWaveFormatPcm || real == kWaveFormatFloat) return kOk;
            if (real == kWaveFormatWma2 || real == kWaveFormatWma3) {
                *seekId = "dpds";
                return kOk;
            }
            return kNotSupported;
        }
        case kWaveFormatXma2:
            if (bytes < 52 || extra < 34) return kFail;
            *seekId = "seek";
            return kOk;
        case kWaveFormatAdpcm:
            return (bytes < 50 || extra < 32) ? kFail : kOk;
        case kWaveFormatWma2:
        case kWaveFormatWma3:
            *seekId = "dpds";
            return kOk;
        default:
            return kNotSupported;
    }
}

// Finds "fmt " and "data"; names the seek-table chunk the format calls for.
HRESULT FindFormatAndData(const uint8_t* data, size_t size, WaveFileInfo& info,
                          const char** seekId) {
    RiffRegion riff;
    if (HRESULT hr = FindRiff(data, size, kMinFileBytes, riff); Failed(hr)) return hr;
    Chunk fmt;
    if (!FindChunk(data, riff.begin, riff.end, "fmt ", fmt) || fmt.size < 16) return kFail;
    if (PastEnd(fmt, size)) return kHandleEof;
    uint16_t tag = Read16(data + fmt.payload);
    if (tag != kWaveFormatPcm && tag != kWaveFormatFloat) {
        if (HRESULT hr = CheckCompressedFormat(data + fmt.payload, fmt.size, seekId); Failed(hr))
            return hr;
    }
    Chunk samples;
    if (!FindChunk(data, riff.begin, riff.end, "data", samples) || samples.size == 0)
        return kInvalidData;
    if (PastEnd(samples, size)) return kHandleEof;
    info.format = data + fmt.payload;
    info.formatBytes = fmt.size;
    info.sampleStart = data + samples.payload;
    info.sampleBytes = samples.size;
    return kOk;
}

// Takes the first forward or release loop of a "wsmp" payload; false when it names none.
bool LoopFromWsmp(const uint8_t* p, uint32_t bytes, WaveFileInfo& info) {
    if (bytes < 20) return false;
    uint64_t header = Read32(p);
    uint64_t count = Read32(p + 16);
    if (uint64_t(bytes) < header + 16 * count) return false;
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* loop = p + header + 16 * i;
        uint32_t type = Read32(loop + 4);
        if (type == 0 || type == 1) {
            info.loopStart = Read32(loop + 8);
            info.loopLength = Read32(loop + 12);
            return true;
        }
    }
    return false;
}

// Takes the first forward loop of a "smpl" payload, if any.
void LoopFromSmpl(const uint8_t* p, uint32_t bytes, WaveFileInfo& info) {
    if (bytes < 36) return;
    uint64_t count = Read32(p + 28);
    if (count == 0 || uint64_t(bytes) < 36 + 24 * count) return;
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* loop = p + 36 + 24 * i;
        if (Read32(loop + 4) == 0) {
            uint32_t start = Read32(loop + 8);
            info.loopStart = start;
            info.loopLength = Read32(loop + 12) - start + 1;
            return;
        }
    }
}

// Finds the loop region: "wsmp" first, then "smpl".
HRESULT FindLoop(const uint8_t* data, size_t size, WaveFileInfo& info) {
    RiffRegion riff;
    if (HRESULT hr = FindRiff(data, size, 12, riff); Failed(hr)) return hr;
    if (riff.xwma) return kOk;
    Chunk chunk;
    if (FindChunk(data, riff.begin, riff.end, "wsmp", chunk)) {
        if (PastEnd(chunk, size)) return kHandleEof;
        if (LoopFromWsmp(data + chunk.payload, chunk.size, info)) return kOk;
    }
    if (FindChunk(data, riff.begin, riff.end, "smpl", chunk)) {
        if (PastEnd(chunk, size)) return kHandleEof;
        LoopFromSmpl(data + chunk.payload, chunk.size, info);
    }
    return kOk;
}

// Finds the seek table named by the format, if the file holds one.
HRESULT FindSeekTable(const uint8_t* data, size_t size, const char (&id)[5], WaveFileInfo& info) {
    RiffRegion riff;
    if (HRESULT hr = FindRiff(data, size, 12, riff); Failed(hr)) return hr;
    Chunk chunk;
    if (!FindChunk(data, riff.begin, riff.end, id, chunk)) return kOk;
    if (PastEnd(chunk, size)) return kHandleEof;
    if (chunk.size % 4 != 0) return kFail;
    info.seekTable = data + chunk.payload;
    info.seekCount = chunk.size / 4;
    return kOk;
}

}  // namespace

HRESULT ParseWavData(const uint8_t* data, size_t size, WaveFileInfo& info) {
    info = WaveFileInfo{};
    if (!data || size < kMinFileBytes) return kFail;
    const char* seekId = nullptr;
    if (HRESULT hr = FindFormatAndData(data, size, info, &seekId); Failed(hr)) return hr;
    if (HRESULT hr = FindLoop(data, size, info); Failed(hr)) return hr;
    if (!seekId) return kOk;
    return seekId[0] == 'd' ? FindSeekTable(data, size, "dpds", info)
                            : FindSeekTable(data, size, "seek", info);
}

HRESULT ReadWavFile(const std::wstring& fileName, std::unique_ptr<uint8_t[]>& data,
                    size_t& dataBytes, WaveFileInfo& info, int* systemError) {
    info = WaveFileInfo{};
    if (fileName.empty()) return kInvalidArg;
    HRESULT hr = ReadWholeFile(platform::WideToUtf8(fileName), data, dataBytes, systemError);
    if (Failed(hr)) return hr;
    return ParseWavData(data.get(), dataBytes, info);
}

}  // namespace DirectX
