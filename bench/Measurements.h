#pragma once

#include <benchmark/benchmark.h>

#include <array>

// Every measurement of the benchmark. Each of ours runs beside the bare Qt work it wraps, in
// the same run; a ratio divides ours by its baseline's per-iteration time.
namespace bench {

void WindowOpenOurs(benchmark::State& state);
void WindowOpenBaseline(benchmark::State& state);
void DealColdOurs(benchmark::State& state);
void DealColdBaseline(benchmark::State& state);
void DealWarmOurs(benchmark::State& state);
void TickOurs(benchmark::State& state);
void TickBaseline(benchmark::State& state);
void ClickOurs(benchmark::State& state);
void ClickBaseline(benchmark::State& state);
void PropertyListsOurs(benchmark::State& state);
void PropertyListsBaseline(benchmark::State& state);
// Reported beside the others but given no ratio: what the first application of each list costs.
void PropertyListsFirstReading(benchmark::State& state);

struct Measurement {
    const char* name;
    void (*run)(benchmark::State&);
};

// In running order: each baseline right before the measurement it is compared with.
inline constexpr std::array<Measurement, 12> kMeasurements = {{
    {"window_open/baseline", &WindowOpenBaseline},
    {"window_open/ours", &WindowOpenOurs},
    {"deal_cold/baseline", &DealColdBaseline},
    {"deal_cold/ours", &DealColdOurs},
    {"deal_warm/ours", &DealWarmOurs},
    {"tick/baseline", &TickBaseline},
    {"tick/ours", &TickOurs},
    {"click/baseline", &ClickBaseline},
    {"click/ours", &ClickOurs},
    {"property_lists/baseline", &PropertyListsBaseline},
    {"property_lists/ours", &PropertyListsOurs},
    {"property_lists/first_reading", &PropertyListsFirstReading},
}};

struct Ratio {
    const char* name;
    const char* ours;
    const char* baseline;
};

// deal_warm is compared with deal_cold's own time: a press with the pictures at hand should cost
// a small part of one that decodes them.
inline constexpr std::array<Ratio, 6> kRatios = {{
    {"window_open", "window_open/ours", "window_open/baseline"},
    {"deal_cold", "deal_cold/ours", "deal_cold/baseline"},
    {"deal_warm", "deal_warm/ours", "deal_cold/ours"},
    {"tick", "tick/ours", "tick/baseline"},
    {"click", "click/ours", "click/baseline"},
    {"property_lists", "property_lists/ours", "property_lists/baseline"},
}};

}  // namespace bench
