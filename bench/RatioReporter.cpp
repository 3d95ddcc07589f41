#include "bench/RatioReporter.h"

#include "bench/Comparison.h"
#include "bench/PairedMeasurement.h"

namespace bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    std::vector<Run> shown = runs;
    for (Run& run : shown) {
        // Every measurement runs its pairs in one iteration: the count says nothing.
        run.run_name.iterations.clear();
    }
    benchmark::ConsoleReporter::ReportRuns(shown);
    for (const Run& run : runs) {
        const std::string& name = run.run_name.function_name;
        if (run.error_occurred) {
            failed_.push_back(name);
            continue;
        }
        const auto ratio = run.counters.find(kRatioCounter);
        if (ratio == run.counters.end()) {
            continue;
        }
        if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "median") {
                medians_[name] = ratio->second.value;
            }
        } else {
            ratios_[name].push_back(ratio->second.value);
        }
    }
}

std::optional<double> RatioReporter::RatioOf(const std::string& name) const {
    if (auto median = medians_.find(name); median != medians_.end()) {
        return median->second;
    }
    auto found = ratios_.find(name);
    if (found == ratios_.end() || found->second.empty()) {
        return std::nullopt;
    }
    return Quantile(found->second, 0.5);
}

}  // namespace bench
