#pragma once

#include <array>
#include <memory>

#include "bench/Comparison.h"

// Every measurement of the benchmark: a hot path of the game beside the bare Qt work it wraps,
// sampled in interleaved rounds in the same run.
namespace bench {

std::unique_ptr<Comparison> MakeWindowOpen();
std::unique_ptr<Comparison> MakeDealCold();
// A press with the pictures at hand beside one that decodes them: deal_warm's baseline is
// deal_cold's own press, as it should cost a small part of it.
std::unique_ptr<Comparison> MakeDealWarm();
std::unique_ptr<Comparison> MakeTick();
std::unique_ptr<Comparison> MakeClick();
std::unique_ptr<Comparison> MakePropertyLists();
// What the first application of each list costs, reading included, beside the direct setters.
std::unique_ptr<Comparison> MakePropertyListsFirstReading();

struct Measurement {
    const char* name;
    std::unique_ptr<Comparison> (*make)();
    SamplingPlan plan;
    bool printsRatio;  // whether the run ends with a ratio line for it
};

// The calls per sample bring each sample to a few milliseconds of CPU time, well above the
// clock's resolution, so that tick and click, whose single call lasts some microseconds, are
// timed in batches.
inline constexpr int kWarmUpRounds = 5;
inline constexpr int kRounds = 60;

inline constexpr std::array<Measurement, 7> kMeasurements = {{
    {"window_open", &MakeWindowOpen, {kWarmUpRounds, kRounds, 1, 1}, true},
    {"deal_cold", &MakeDealCold, {kWarmUpRounds, kRounds, 1, 1}, true},
    {"deal_warm", &MakeDealWarm, {kWarmUpRounds, kRounds, 40, 1}, true},
    {"tick", &MakeTick, {kWarmUpRounds, kRounds, 256, 256}, true},
    {"click", &MakeClick, {kWarmUpRounds, kRounds, 96, 96}, true},
    {"property_lists", &MakePropertyLists, {kWarmUpRounds, kRounds, 96, 96}, true},
    {"property_lists/first_reading",
     &MakePropertyListsFirstReading,
     {kWarmUpRounds, kRounds, 48, 48},
     false},
}};

// Every measurement once, for the build's smoke test: one round of one call a sample.
inline constexpr SamplingPlan kSmokePlan = {0, 1, 1, 1};

}  // namespace bench
