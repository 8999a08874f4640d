// HitErrorBar: the thin bar under each lane's hit marker that shows the lane's last 20 presses
// as ticks, early to the left and late to the right of its centre, the newest brightest, in
// the colour of their grade. Its half-width (80 pixels) stands for the Bad window; faint bands
// show where each grade begins (on the late side only Perfect and Great exist: a later note is
// missed). It lies 64 pixels below the hit line, under the key letters, where nothing else is
// drawn, and appears with the first press it can show.
// Depends on: gameplay/HitErrors.h, services/SpriteRenderer.h, services/TextureStore.h.
#pragma once

#include <string>
#include <vector>

#include "gameplay/HitErrors.h"

// Presses shown per lane.
inline constexpr size_t kBarTicks = 20;
// Half the bar's width, in pixels, and its distance below the hit line.
inline constexpr float kBarHalfWidth = 80.0f;
inline constexpr float kBarBelowLine = 64.0f;

// The x of a press's tick on a bar centred at x, for the run's windows (unit and gap as the
// judgement has them): the Bad window maps to the half-width, beyond it to the end.
float TickX(float x, double ms, float unit, float gap);

// Draws both lanes' bars for the errors so far (nothing when there are none).
void DrawHitErrorBars(const std::vector<HitError>& errors, float unit, float gap, float hitLine);
