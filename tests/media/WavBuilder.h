// Builds RIFF files in memory for the audio tests: chunks back to back, exact sizes, no pads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wavtest {

using Bytes = std::vector<uint8_t>;

// Appends a little-endian value of the given byte width.
inline void Put(Bytes& b, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) b.push_back(uint8_t(value >> (8 * i)));
}

// A chunk: id, declared size (defaults to the payload's), payload.
inline Bytes Chunk(const std::string& id, const Bytes& payload, int64_t declared = -1) {
    Bytes b(id.begin(), id.end());
    Put(b, declared < 0 ? payload.size() : uint64_t(declared), 4);
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

// A whole RIFF file of the given form around the chunks, its size field exact.
inline Bytes Riff(const std::vector<Bytes>& chunks, const std::string& form = "WAVE") {
    Bytes body(form.begin(), form.end());
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return Chunk("RIFF", body);
}

// A 16- or 18-byte format payload for PCM-like tags.
inline Bytes Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                 bool withExtra = false) {
    Bytes b;
    uint32_t align = channels * bits / 8;
    Put(b, tag, 2);
    Put(b, channels, 2);
    Put(b, rate, 4);
    Put(b, align * rate, 4);
    Put(b, align, 2);
    Put(b, bits, 2);
    if (withExtra) Put(b, 0, 2);
    return b;
}

// An extensible format payload with the given real tag and a standard (or broken) base id.
inline Bytes FmtExtensible(uint32_t realTag, uint16_t channels, uint32_t rate, uint16_t bits,
                           uint16_t validBits, uint32_t mask, bool standardBase = true) {
    Bytes b = Fmt(0xFFFE, channels, rate, bits);
    Put(b, 22, 2);
    Put(b, validBits, 2);
    Put(b, mask, 4);
    Put(b, realTag, 4);
    const uint8_t tail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                              0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    b.insert(b.end(), tail, tail + 12);
    if (!standardBase) b.back() ^= 0xFF;
    return b;
}

// A standard MS ADPCM format payload.
inline Bytes FmtAdpcm(uint16_t channels, uint32_t rate, uint16_t blockAlign) {
    Bytes b;
    uint16_t perBlock = uint16_t((blockAlign - 7 * channels) * 8 / (4 * channels) + 2);
    Put(b, 2, 2);
    Put(b, channels, 2);
    Put(b, rate, 4);
    Put(b, uint64_t(rate) * blockAlign / perBlock, 4);
    Put(b, blockAlign, 2);
    Put(b, 4, 2);
    Put(b, 32, 2);
    Put(b, perBlock, 2);
    Put(b, 7, 2);
    const int16_t coef[14] = {256, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392, -232};
    for (int16_t c : coef) Put(b, uint16_t(c), 2);
    return b;
}

// Interleaved 16-bit samples as bytes.
inline Bytes Samples16(const std::vector<int16_t>& samples) {
    Bytes b;
    for (int16_t s : samples) Put(b, uint16_t(s), 2);
    return b;
}

// A "smpl" payload with loops given as (type, start, end).
inline Bytes Smpl(const std::vector<std::vector<uint32_t>>& loops) {
    Bytes b;
    for (int i = 0; i < 7; ++i) Put(b, 0, 4);
    Put(b, loops.size(), 4);
    Put(b, 0, 4);
    for (const auto& l : loops) {
        Put(b, 0, 4);
        Put(b, l[0], 4);
        Put(b, l[1], 4);
        Put(b, l[2], 4);
        Put(b, 0, 4);
        Put(b, 0, 4);
    }
    return b;
}

// A "wsmp" payload with a 20-byte header and loops given as (type, start, length).
inline Bytes Wsmp(const std::vector<std::vector<uint32_t>>& loops) {
    Bytes b;
    Put(b, 20, 4);
    Put(b, 0, 4);
    Put(b, 0, 4);
    Put(b, 0, 4);
    Put(b, loops.size(), 4);
    for (const auto& l : loops) {
        Put(b, 16, 4);
        Put(b, l[0], 4);
        Put(b, l[1], 4);
        Put(b, l[2], 4);
    }
    return b;
}

// A plain 16-bit PCM file of the given interleaved samples, with extra chunks before "data".
inline Bytes PcmFile(uint16_t channels, const std::vector<int16_t>& samples,
                     const std::vector<Bytes>& extra = {}, uint32_t rate = 44100) {
    std::vector<Bytes> chunks{Chunk("fmt ", Fmt(1, channels, rate, 16))};
    chunks.insert(chunks.end(), extra.begin(), extra.end());
    chunks.push_back(Chunk("data", Samples16(samples)));
    return Riff(chunks);
}

}  // namespace wavtest
