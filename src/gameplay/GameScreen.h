// GameScreen: the texts and colours the play and result screens are made of: level colours,
// the time display, the scrolling title's window, the result ticker's window and the track
// pulse period.
// Depends on: gameplay/ColorRgb.h.
#pragma once

#include <cstdint>
#include <string>

#include "gameplay/ColorRgb.h"

struct LevelColors {
    ColorRgb bright;
    ColorRgb dark;
};

// Index 0 to 2 of a level text "1" to "3"; other texts count as the nearest level.
int32_t LevelIndex(const std::wstring& level);
// The bright and dark colours of a level text.
const LevelColors& ColorsOfLevel(const std::wstring& level);
// Remaining time as "m:ss", with one blank before it under a minute; " 0:00" below 0.
std::wstring TimeText(int32_t seconds);
// The ten characters of title shown from position scroll on, filled with ideographic spaces;
// the whole title when it is shorter than ten characters.
std::wstring TitleWindow(const std::wstring& title, int32_t scroll);
// The first ten characters of message, filled with blanks.
std::wstring TickerWindow(const std::wstring& message);

// Updates of one track pulse and the update within it at which the dark colour starts.
struct PulsePeriod {
    int32_t period;
    int32_t darkAt;
};
// The pulse of a tempo of 1 to 600.
PulsePeriod PulseOf(int32_t bpm);
