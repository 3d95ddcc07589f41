// karuta_bench: runs every measurement beside its baseline on Qt's offscreen platform, then
// prints one "ratio NAME VALUE" line per measurement (ours divided by its baseline).
//
//   karuta_bench                  the full run; any --benchmark_* option of Google Benchmark
//                                 may follow (--benchmark_filter=click, for one measurement)
//   karuta_bench --smoke          every measurement once, for the build's smoke test; it fails
//                                 only when a measurement cannot run, never on speed
//
// Each measurement samples ours and its baseline in turn, in rounds of a few samples of a few
// milliseconds of the thread's CPU time each, and its ratio is the median of the rounds' own
// ratios: a slow spell of a busy machine falls on both sides of a round, or on few rounds, and
// moves the median little (bench/Comparison.h). The run keeps to the core it started on, or to
// the cores it was started on (taskset -c N).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/Measurements.h"
#include "bench/OneCore.h"
#include "bench/PairedMeasurement.h"
#include "bench/RatioReporter.h"

namespace {

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
    for (const bench::Measurement& m : bench::kMeasurements) {
        const auto ratio = reporter.RatioOf(m.name);
        if (!m.printsRatio || !ratio) {
            continue;  // filtered out or failed: no ratio to give
        }
        std::printf("ratio %s %.4g\n", m.name, *ratio);
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const bool smoke = TakeSmokeFlag(argc, argv);
    if (const int core = bench::KeepToOneCore(); core >= 0) {
        std::fprintf(stderr, "karuta_bench: kept to core %d\n", core);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    QApplication app(argc, argv);

    for (const bench::Measurement& m : bench::kMeasurements) {
        const bench::SamplingPlan plan = smoke ? bench::kSmokePlan : m.plan;
        benchmark::RegisterBenchmark(
            m.name, [&m, plan](benchmark::State& state) { bench::RunMeasurement(state, m, plan); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
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
