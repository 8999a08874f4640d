// Judgement: the judgement windows of a run (k update-steps of motion on either side of the
// line, widened by the gap), the grades with their words, points and colours, and the miss
// bound. All bounds are computed in single precision as ((BPM * 0.006) / 1350) * k + g.
// Depends on: gameplay/ColorRgb.h.
#pragma once

#include <cstdint>

#include "gameplay/ColorRgb.h"

enum class Grade { kNone, kPerfect, kGreat, kOk, kBad };

struct GradeInfo {
    const wchar_t* word;
    int32_t points;
    bool keepsChain;
    ColorRgb color;
};

// The distance a note moves in one update, in track units.
float WindowUnit(int32_t bpm);
// The window of k updates widened by gap g.
float WindowBound(float unit, float k, float gap);
// True when a note at distance can be hit: strictly below 20 windows above the line.
bool InReach(float distance, float unit, float gap);
// The grade of a hit note by its absolute distance; kNone when it lies too far.
Grade GradeOf(float distance, float unit, float gap);
// True when a note has passed the miss bound below the line (strictly).
bool IsMissed(float distance, float unit, float gap);
// Word, points, chain effect and colour of a grade other than kNone.
const GradeInfo& InfoOf(Grade grade);

// Colour of a lane's marker after a key press, and of the word "Miss".
inline constexpr ColorRgb kPressFlash{0, 255, 255};
inline constexpr ColorRgb kMissColor{128, 128, 128};
