// CalibrationMath: nearest beats, the presses kept, median and spread.
#include "settings/CalibrationMath.h"

#include <algorithm>
#include <cmath>

double NearestBeatError(const std::vector<double>& beatsMs, double pressMs) {
    if (beatsMs.empty()) return 0;
    auto next = std::lower_bound(beatsMs.begin(), beatsMs.end(), pressMs);
    if (next == beatsMs.end()) return pressMs - beatsMs.back();
    if (next == beatsMs.begin()) return pressMs - *next;
    const double late = pressMs - *(next - 1), early = pressMs - *next;
    return late <= -early ? late : early;
}

CalibrationResult SumUp(const std::vector<double>& errorsMs) {
    CalibrationResult r;
    std::vector<double> kept;
    for (double e : errorsMs) {
        if (std::fabs(e) <= kCalibrationKeepMs)
            kept.push_back(e);
        else
            ++r.discarded;
    }
    r.kept = kept.size();
    if (kept.empty()) return r;
    std::sort(kept.begin(), kept.end());
    const size_t half = kept.size() / 2;
    r.medianMs = kept.size() % 2 ? kept[half] : (kept[half - 1] + kept[half]) / 2;
    double mean = 0;
    for (double e : kept) mean += e;
    mean /= double(kept.size());
    double squares = 0;
    for (double e : kept) squares += (e - mean) * (e - mean);
    r.spreadMs = std::sqrt(squares / double(kept.size()));
    return r;
}
