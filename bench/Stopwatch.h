#pragma once

#include <time.h>

#include <cstdint>

namespace bench {

// Adds up the CPU time of the calling thread between each Start and the Stop after it. Time the
// thread spends waiting for a core, while other programs run, is not counted: on a busy machine a
// wall clock would charge that wait to whichever side happened to be running.
class Stopwatch {
public:
    void Start() { started_ = Now(); }
    void Stop() { nanoseconds_ += Now() - started_; }
    double Seconds() const { return static_cast<double>(nanoseconds_) * 1e-9; }

private:
    static int64_t Now() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    }

    int64_t started_ = 0;
    int64_t nanoseconds_ = 0;
};

}  // namespace bench
