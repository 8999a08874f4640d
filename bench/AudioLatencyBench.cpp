// The sound device's output period and latency as configured at start-up (a report, not a
// timing): opens the default device once and records its figures as counters.
#include <benchmark/benchmark.h>

#include "platform/sound/OutputLatency.h"

namespace {

void BM_AudioOutputLatency(benchmark::State& state) {
    const platform::OutputPeriod asked = platform::ConfigureOutputPeriod();
    platform::OutputLatencyReport report;
    for (auto _ : state) report = platform::MeasureOutputLatency();
    if (!report.opened) return state.SkipWithError("no sound device");
    state.counters["asked_period_ms"] = asked.milliseconds;
    state.counters["asked_periods"] = asked.periods;
    state.counters["rate_hz"] = report.frequency;
    state.counters["period_ms"] =
        report.frequency > 0 ? 1000.0 * report.updateFrames / report.frequency : 0;
    state.counters["latency_ms"] = report.latencyMs;
}

}  // namespace

BENCHMARK(BM_AudioOutputLatency)->Iterations(1);
