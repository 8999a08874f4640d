// Song rendering: the arrangement played by the instruments into one stereo buffer.
// Depends on: Song.h, Sound.h.
#pragma once

#include <cstdint>

#include "Song.h"
#include "Sound.h"

namespace democontent {

// Renders the whole song (lead-in silence, parts, ringing tail), normalised below full scale.
StereoBuffer RenderSong(const Arrangement& arrangement, uint32_t seed);

}  // namespace democontent
