#include "bench/PairedMeasurement.h"

#include <memory>
#include <optional>
#include <string>

namespace bench {

void RunMeasurement(benchmark::State& state, const Measurement& measurement,
                    const SamplingPlan& plan) {
    std::optional<PairedResult> result;
    std::string failure;
    for (auto _ : state) {
        const std::unique_ptr<Comparison> comparison = measurement.make();
        result = RunRounds(*comparison, plan);
        failure = comparison->Failure();
    }
    if (!failure.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    if (!result) {
        state.SkipWithError("no round had a baseline time to divide by");
        return;
    }
    state.counters[kOursCounter] = result->oursSeconds * 1e6;
    state.counters[kBaselineCounter] = result->baselineSeconds * 1e6;
    state.counters[kRatioCounter] = result->ratio;
    state.counters[kSpreadCounter] =
        (result->ratioHighQuartile - result->ratioLowQuartile) / result->ratio;
}

}  // namespace bench
