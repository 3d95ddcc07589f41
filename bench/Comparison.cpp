#include "bench/Comparison.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace bench {
namespace {

// One sample of a side, after one call of the same side that is not timed. What one side leaves
// behind can make the other's next call slower or quicker by a tenth; after the untimed call
// each sample starts from the state its own side leaves, as in a run of that side alone.
double SecondsPerCall(Comparison& comparison, bool ours, const SamplingPlan& plan) {
    Stopwatch untimed;
    Stopwatch watch;
    if (ours) {
        comparison.SampleOurs(untimed, 1);
        comparison.SampleOurs(watch, plan.oursCalls);
        return watch.Seconds() / static_cast<double>(plan.oursCalls);
    }
    comparison.SampleBaseline(untimed, 1);
    comparison.SampleBaseline(watch, plan.baselineCalls);
    return watch.Seconds() / static_cast<double>(plan.baselineCalls);
}

}  // namespace

double Quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const double position = q * static_cast<double>(values.size() - 1);
    const auto below = static_cast<size_t>(std::floor(position));
    const size_t above = std::min(below + 1, values.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return values[below] + fraction * (values[above] - values[below]);
}

std::optional<PairedResult> RunRounds(Comparison& comparison, const SamplingPlan& plan) {
    std::vector<double> ours;
    std::vector<double> baseline;
    std::vector<double> ratios;
    for (int round = 0; round < plan.warmUpRounds + plan.rounds; ++round) {
        const double ours1 = SecondsPerCall(comparison, true, plan);
        const double baseline1 = SecondsPerCall(comparison, false, plan);
        const double baseline2 = SecondsPerCall(comparison, false, plan);
        const double ours2 = SecondsPerCall(comparison, true, plan);
        if (round < plan.warmUpRounds) {
            continue;
        }
        ours.insert(ours.end(), {ours1, ours2});
        baseline.insert(baseline.end(), {baseline1, baseline2});
        if (baseline1 > 0 && baseline2 > 0) {
            ratios.push_back(std::sqrt((ours1 * ours2) / (baseline1 * baseline2)));
        }
    }
    comparison.CheckAfterwards();
    if (!comparison.Failure().empty() || ratios.empty()) {
        return std::nullopt;
    }
    return PairedResult{Quantile(ours, 0.5), Quantile(baseline, 0.5), Quantile(ratios, 0.5),
                        Quantile(ratios, 0.25), Quantile(ratios, 0.75)};
}

}  // namespace bench
