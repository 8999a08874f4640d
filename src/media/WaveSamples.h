// Turns the samples of a checked wave format into what the audio back end plays: always two
// channels, so that no sound meets the library's pan law. 8- and 16-bit stereo go as they are;
// 8- and 16-bit mono are doubled to both sides; MS ADPCM is decoded to 16-bit; 24/32-bit PCM,
// float and more than two channels become float, mixed down to stereo by their speakers. The
// same conversion serves a whole short sound at load and a long one a piece at a time.
// Depends on: media/WAVFileReader.h, media/StereoMix.h, platform/AudioBackend.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/StereoMix.h"
#include "media/WAVFileReader.h"
#include "platform/AudioBackend.h"

namespace DirectX {

// How one file's samples are converted.
struct SampleLayout {
    uint32_t tag = 0;         // PCM, IEEE float or MS ADPCM (looked through extensible)
    uint32_t channels = 0;    // in the file
    uint32_t bits = 0;        // container bits of one sample; 4 for MS ADPCM
    uint32_t rate = 0;        // sample frames a second
    size_t unitBytes = 0;     // bytes of the smallest whole piece: a frame, or an ADPCM block
    uint32_t unitFrames = 1;  // frames in it
    platform::SampleType outType = platform::SampleType::kSigned16;
    bool passThrough = false;  // the file's bytes are already what the back end plays
    StereoMix mix;             // used on the float road
};

// The layout of a format that passed IsValidWaveFormat; speakers come from its channel mask.
SampleLayout LayoutOf(const WaveFormat& format);

// Bytes of one converted (stereo) frame.
size_t OutFrameBytes(const SampleLayout& layout);

// Converts units whole units at in and appends them to out; returns the frames appended.
size_t ConvertUnits(const SampleLayout& layout, const uint8_t* in, size_t units,
                    std::vector<uint8_t>& out);

// Mixes frames of interleaved float samples (channels as in mix) to stereo float, appended.
void MixFloatFrames(const StereoMix& mix, const float* in, size_t frames,
                    std::vector<uint8_t>& out);

}  // namespace DirectX
