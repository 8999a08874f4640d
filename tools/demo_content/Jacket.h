// Jackets: a 256x256 cover picture per song, painted in the song's colours and style.
// Depends on: Canvas.h, Song.h.
#pragma once

#include "Canvas.h"
#include "Song.h"

namespace democontent {

// The jacket of a song, drawn from its plan (style, colours and seed).
Canvas PaintJacket(const SongPlan& plan);

}  // namespace democontent
