// LevelChoice: the column group, a stable sort by difficulty and the pick.
#include "import/LevelChoice.h"

#include <algorithm>
#include <cmath>

namespace importer {

namespace {

// Preference of a column count: 8 best, then 4, then 5 to 7; 0 for counts we cannot play.
int GroupOf(int columns) {
    if (columns == 8) return 3;
    if (columns == 4) return 2;
    if (columns >= 5 && columns <= 7) return 1;
    return 0;
}

}  // namespace

std::vector<size_t> ChooseLevels(const std::vector<SourceChart>& charts) {
    int best = 0;
    for (const SourceChart& c : charts)
        if (!c.notes.empty()) best = std::max(best, GroupOf(c.columns));
    if (best == 0) return {};
    std::vector<size_t> pool;
    for (size_t i = 0; i < charts.size(); ++i)
        if (!charts[i].notes.empty() && GroupOf(charts[i].columns) == best) pool.push_back(i);
    std::stable_sort(pool.begin(), pool.end(), [&charts](size_t a, size_t b) {
        const SourceChart &x = charts[a], &y = charts[b];
        if (x.rank != y.rank) return x.rank < y.rank;
        if (x.meter != y.meter) return x.meter < y.meter;
        return x.notesPerSecond < y.notesPerSecond;
    });
    if (pool.size() <= 3) return pool;
    return {pool.front(), pool[pool.size() / 2], pool.back()};
}

int LevelRating(const SourceChart& chart) {
    if (!chart.fromBeatmap) return std::max(1, chart.meter);
    const double rounded = std::ceil(chart.notesPerSecond);
    return rounded >= 1 ? static_cast<int>(std::min(rounded, 9999.0)) : 1;
}

}  // namespace importer
