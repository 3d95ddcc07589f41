#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "fw/core/Object.h"

namespace fw {

// A source of random integers, seeded by the framework (std::random_device); the caller gives
// no seed.
class Random : public Object {
public:
    // Passes the fault point "Random.Constructor".
    Random();
    static Ref<Random> Create() { return MakeRef<Random>(); }

    // A uniformly drawn integer from a to b, both included, for any two int64 values (the whole
    // int64 range included). The order of the bounds does not matter: InRange(9, 0) draws from
    // 0..9 as well.
    int64_t InRange(int64_t a, int64_t b);

    const char* ClassName() const noexcept override { return "Random"; }

private:
    std::mt19937_64 engine_;
};

namespace testing {

// Makes every Random, old and new, return these values in order, one per InRange call, shared
// by all of them, starting again from the first when the list is used up. A value v is mapped
// into the range lo..hi (span = hi - lo + 1) as lo + ((v mod span) + span) mod span, so 0 gives
// lo, span - 1 gives hi and -1 gives hi as well. An empty list is the same as ResetRandom.
void SetRandomSequence(std::vector<int64_t> values);
// Returns to real random draws.
void ResetRandom();

}  // namespace testing
}  // namespace fw
