// karuta_bench: runs every measurement beside its baseline on Qt's offscreen platform, then
// prints one "ratio NAME VALUE" line per measurement (ours divided by its baseline).
//
//   karuta_bench                  the full run; any --benchmark_* option of Google Benchmark
//                                 may follow and overrides the defaults below
//   karuta_bench --smoke          every measurement once, for the build's smoke test; it fails
//                                 only when a measurement cannot run, never on speed
//
// By default each measurement is repeated five times, the repetitions of all measurements in
// random order, and a ratio divides the medians: on a busy machine a slow spell then falls on
// both sides of a ratio alike instead of on one of them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/Measurements.h"
#include "bench/RatioReporter.h"

namespace {

constexpr const char* kDefaultOptions[] = {
    "--benchmark_repetitions=5",
    "--benchmark_enable_random_interleaving=true",
    "--benchmark_min_time=0.2",
    "--benchmark_report_aggregates_only=true",
};

// Takes --smoke out of the arguments, which Google Benchmark would refuse.
bool TakeSmokeFlag(int& argc, char** argv) {
    bool smoke = false;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strcmp(argv[i], "--smoke") == 0) {
            smoke = true;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return smoke;
}

void PrintRatios(const bench::RatioReporter& reporter) {
    for (const bench::Ratio& ratio : bench::kRatios) {
        const auto ours = reporter.SecondsPerIteration(ratio.ours);
        const auto baseline = reporter.SecondsPerIteration(ratio.baseline);
        if (!ours || !baseline || *baseline <= 0) {
            continue;  // filtered out or failed: no ratio to give
        }
        std::printf("ratio %s %.3f\n", ratio.name, *ours / *baseline);
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const bool smoke = TakeSmokeFlag(argc, argv);
    // The defaults go first, so that the caller's own options win.
    std::vector<char*> arguments(argv, argv + argc);
    if (!smoke) {
        for (const char* option : kDefaultOptions) {
            arguments.insert(arguments.begin() + 1, const_cast<char*>(option));
        }
    }
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        return 2;
    }
    QApplication app(count, arguments.data());

    for (const bench::Measurement& m : bench::kMeasurements) {
        benchmark::internal::Benchmark* registered = benchmark::RegisterBenchmark(m.name, m.run);
        registered->Unit(benchmark::kMicrosecond);
        if (smoke) {
            registered->Iterations(1);
        }
    }

    bench::RatioReporter reporter(isatty(fileno(stdout)) != 0);
    const size_t ran = benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintRatios(reporter);

    for (const std::string& name : reporter.Failed()) {
        std::fprintf(stderr, "karuta_bench: %s failed\n", name.c_str());
    }
    if (!reporter.Failed().empty()) {
        return 1;
    }
    if (smoke && ran != bench::kMeasurements.size()) {
        std::fprintf(stderr, "karuta_bench: %zu of %zu measurements ran\n", ran,
                     bench::kMeasurements.size());
        return 1;
    }
    return 0;
}
