#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bench/Stopwatch.h"

namespace bench {

// One hot path of the game beside the bare work it wraps. Both sides share one state (a window,
// a session, the targets of the lists), made when the comparison is, so that a sample of either
// side starts from the same place.
class Comparison {
public:
    Comparison() = default;
    virtual ~Comparison() = default;
    Comparison(const Comparison&) = delete;
    Comparison& operator=(const Comparison&) = delete;

    // One sample of a side: `calls` calls of its work, with the watch running around that work
    // only. What a call needs beforehand (an empty cache, a fresh target, the repaints handed to
    // Qt) is done with the watch stopped, so that every call starts from the same state.
    virtual void SampleOurs(Stopwatch& watch, int64_t calls) = 0;
    virtual void SampleBaseline(Stopwatch& watch, int64_t calls) = 0;
    // After the last sample: whatever the samples left behind that shows a side went wrong.
    virtual void CheckAfterwards() {}

    // Empty while every side did its work; otherwise what went wrong first.
    const std::string& Failure() const noexcept { return failure_; }

protected:
    void Fail(const std::string& what) {
        if (failure_.empty()) {
            failure_ = what;
        }
    }

private:
    std::string failure_;
};

// How a comparison is sampled: in rounds of four samples, ours, baseline, baseline, ours, each
// a few milliseconds of calls. The order within a round cancels what the side that ran just
// before does to a sample (its allocations, the lines it left in the caches), and the samples
// of a round lie close enough in time that a slow spell of the machine falls on both sides. The
// warm-up rounds are run and dropped: they fill the caches and the pools the later calls find.
struct SamplingPlan {
    int warmUpRounds;
    int rounds;
    int64_t oursCalls;  // per sample
    int64_t baselineCalls;
};

struct PairedResult {
    double oursSeconds;      // per call, the median over the samples
    double baselineSeconds;  // per call, the median over the samples
    // The median over the rounds of each round's ours per call divided by its baseline per call
    // (of the two samples of each side, their geometric mean): the few rounds a burst of other
    // work splits unevenly do not move a median.
    double ratio;
    // Where the middle half of the rounds' ratios lies.
    double ratioLowQuartile;
    double ratioHighQuartile;
};

// The value below which the fraction q of the values lie (0.5: the median), between the two
// nearest values when it falls between them. The values must not be empty.
double Quantile(std::vector<double> values, double q);

// Runs the plan; nothing when the comparison failed or no round had a baseline time to divide
// by.
std::optional<PairedResult> RunRounds(Comparison& comparison, const SamplingPlan& plan);

}  // namespace bench
