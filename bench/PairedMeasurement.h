#pragma once

#include <benchmark/benchmark.h>

#include "bench/Measurements.h"

namespace bench {

// The counters each measurement reports beside Google Benchmark's own columns, whose time is
// that of the whole measurement, every round and its preparations included.
inline constexpr const char* kOursCounter = "ours_us";          // per call, median
inline constexpr const char* kBaselineCounter = "baseline_us";  // per call, median
inline constexpr const char* kRatioCounter = "ratio";           // median of the rounds' ratios
// The middle half of the rounds' ratios, as a fraction of their median: how far one round's
// ratio strays on this machine at this moment.
inline constexpr const char* kSpreadCounter = "ratio_iqr";

// The body of one measurement's benchmark: the comparison made and sampled by the plan, in one
// iteration, its result given as the counters above.
void RunMeasurement(benchmark::State& state, const Measurement& measurement,
                    const SamplingPlan& plan);

}  // namespace bench
