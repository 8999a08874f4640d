// Fuzz target: the chart loader on arbitrary bytes. Every input must come back as a chart and
// a list of problems, never a crash, a hang or an unbounded note list.
// Depends on: gameplay/ChartReader.h.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gameplay/ChartReader.h"

// One chart read; a playable chart must have a tempo in range.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ChartContent chart;
    const std::vector<std::string> problems = ParseChart(bytes, "fuzz.nsd", chart);
    if (problems.empty() && (chart.BPM < kMinBpm || chart.BPM > kMaxBpm)) __builtin_trap();
    return 0;
}
