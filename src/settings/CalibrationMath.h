// CalibrationMath: the sums of the calibration: which beat a press was meant for, which
// presses count (within 150 ms of their beat), and their median and spread.
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstddef>
#include <vector>

// Presses further than this from their beat are set aside, in ms.
inline constexpr double kCalibrationKeepMs = 150.0;

// The error of a press at pressMs against the nearest of beats (ascending, in ms): negative
// early, positive late. 0 when there are no beats.
double NearestBeatError(const std::vector<double>& beatsMs, double pressMs);

// What a calibration found.
struct CalibrationResult {
    size_t kept = 0;       // presses within kCalibrationKeepMs of their beat
    size_t discarded = 0;  // the others
    double medianMs = 0;   // of the kept ones (the mean of the middle two for an even count)
    double spreadMs = 0;   // their standard deviation
};

// Sums up the errors of a calibration.
CalibrationResult SumUp(const std::vector<double>& errorsMs);
