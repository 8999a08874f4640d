// Textures of the game screens: notes, hit marker, track, selection frame and the title's
// effect sheet, each painted procedurally with anti-aliased edges.
// Depends on: Canvas.h, Charts.h (directions).
#pragma once

#include "Canvas.h"
#include "Charts.h"

namespace democontent {

// A 32x32 arrow pointing in direction, red or blue.
Canvas PaintArrow(Direction direction, bool red);
// The 32x32 hit marker: a white ring, so the game's flash colours tint it.
Canvas PaintHitMarker();
// The 550x720 track: light, mostly see-through, with lane guides under the two hit points.
Canvas PaintTrack();
// The 256x256 selection frame (the frame itself fills the left 200 pixels), white for tinting.
Canvas PaintSelectionFrame();
// The 600x360 effect sheet: 15 cells of 120x120, one seamless cycle in row order.
Canvas PaintEffectSheet();

}  // namespace democontent
