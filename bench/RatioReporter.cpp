#include "bench/RatioReporter.h"

#include <numeric>

namespace bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    benchmark::ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const std::string& name = run.run_name.function_name;
        if (run.error_occurred) {
            failed_.push_back(name);
            continue;
        }
        const double seconds =
            run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "median") {
                medians_[name] = seconds;
            }
        } else {
            runs_[name].push_back(seconds);
        }
    }
}

std::optional<double> RatioReporter::SecondsPerIteration(const std::string& name) const {
    if (auto median = medians_.find(name); median != medians_.end()) {
        return median->second;
    }
    auto found = runs_.find(name);
    if (found == runs_.end() || found->second.empty()) {
        return std::nullopt;
    }
    const std::vector<double>& seconds = found->second;
    return std::accumulate(seconds.begin(), seconds.end(), 0.0) /
           static_cast<double>(seconds.size());
}

}  // namespace bench
