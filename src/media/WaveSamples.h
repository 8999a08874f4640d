// Turns a checked wave format and its sample bytes into a layout the audio back end plays:
// 8/16-bit PCM, float and MS ADPCM go as they are; 24/32-bit PCM become float; more than two
// channels are mixed down to stereo.
// Depends on: media/WAVFileReader.h, platform/AudioBackend.h.
#pragma once

#include <vector>

#include "media/WAVFileReader.h"
#include "platform/AudioBackend.h"

namespace DirectX {

// The back end's view of the samples; converted samples are kept in storage, which must
// outlive the result. The format must have passed IsValidWaveFormat.
platform::SoundData PrepareSamples(const WaveFormat& format, const uint8_t* samples, uint32_t bytes,
                                   std::vector<float>& storage);

}  // namespace DirectX
