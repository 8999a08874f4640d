// Judgement: window bounds and the grade table.
#include "gameplay/Judgement.h"

#include <cmath>

float WindowUnit(int32_t bpm) { return (static_cast<float>(bpm) * 0.006f) / 1350.0f; }

float WindowBound(float unit, float k, float gap) { return unit * k + gap; }

bool InReach(float distance, float unit, float gap) {
    return distance < WindowBound(unit, 20.0f, gap);
}

Grade GradeOf(float distance, float unit, float gap) {
    float a = std::fabs(distance);
    if (a <= WindowBound(unit, 3.0f, gap)) return Grade::kPerfect;
    if (a <= WindowBound(unit, 9.0f, gap)) return Grade::kGreat;
    if (a <= WindowBound(unit, 10.0f, gap)) return Grade::kOk;
    if (a <= WindowBound(unit, 20.0f, gap)) return Grade::kBad;
    return Grade::kNone;
}

bool IsMissed(float distance, float unit, float gap) {
    return distance < -WindowBound(unit, 9.0f, gap);
}

const GradeInfo& InfoOf(Grade grade) {
    static const GradeInfo kTable[] = {
        {L"", 0, false, kWhite},
        {L"Perfect", 500, true, {255, 255, 0}},
        {L"Great", 300, true, {255, 160, 122}},
        {L"OK", 100, false, {173, 255, 47}},
        {L"Bad", 0, false, {70, 130, 180}},
    };
    return kTable[static_cast<int>(grade)];
}
