// Effects: the short sound effects and the looping title tune.
// Depends on: Sound.h.
#pragma once

#include "Sound.h"

namespace democontent {

// The card sound of moving a cursor: a short swish with a soft tap.
StereoBuffer MakeCardTurn();
// The confirmation sparkle: a quick rising arpeggio of bell tones.
StereoBuffer MakeSparkle();
// The key sound of play: a tambourine-like hit.
StereoBuffer MakeTambourine();
// The title tune: eight bars that loop seamlessly (tails wrap around to the start).
StereoBuffer MakeTitleTune();

}  // namespace democontent
