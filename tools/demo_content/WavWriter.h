// WAV encoding: 16-bit PCM stereo at 44100 Hz, the plain form every reader accepts.
// Depends on: Sound.h.
#pragma once

#include <string>

#include "Sound.h"

namespace democontent {

// A RIFF WAVE file image of the buffer, samples rounded to 16 bits and clipped.
std::string EncodeWav(const StereoBuffer& sound);

}  // namespace democontent
