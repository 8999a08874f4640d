// MS ADPCM decoding: one block of a mono or stereo stream into 16-bit samples. The sound
// library's own decoder refuses some block sizes the format allows (stereo blocks of an odd
// sample count), and mono sounds are widened to stereo before they play, so every MS ADPCM
// sound is decoded here.
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstddef>
#include <cstdint>

namespace DirectX {

// Bytes of one block's header per channel: predictor, delta, two starting samples.
constexpr size_t kAdpcmHeaderBytes = 7;

// Decodes one block of blockBytes bytes (channels 1 or 2) into samplesPerBlock interleaved
// frames at out. Nibbles the block is too short to hold decode as zeros; a predictor index
// beyond the seven standard coefficient pairs uses the last pair.
void DecodeMsAdpcmBlock(const uint8_t* block, size_t blockBytes, uint32_t channels,
                        uint32_t samplesPerBlock, int16_t* out);

}  // namespace DirectX
