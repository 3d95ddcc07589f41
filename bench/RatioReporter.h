#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// The console report, plus a record of every measurement's ratio, so that the ratio lines come
// from this very run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Coloured only for a terminal, so that a log or a pipe gets plain lines.
    explicit RatioReporter(bool colour)
        : benchmark::ConsoleReporter(colour ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override;

    // The measurement's ratio: the median over its repetitions when it was repeated; nothing
    // when it did not run or failed.
    std::optional<double> RatioOf(const std::string& name) const;
    // The measurements that reported an error.
    const std::vector<std::string>& Failed() const noexcept { return failed_; }

private:
    std::map<std::string, std::vector<double>> ratios_;
    std::map<std::string, double> medians_;
    std::vector<std::string> failed_;
};

}  // namespace bench
