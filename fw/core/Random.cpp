#include "fw/core/Random.h"

#include <utility>

#include "fw/core/FaultPoint.h"

namespace fw {
namespace {

struct FixedSequence {
    std::vector<int64_t> values;
    size_t next = 0;
};

FixedSequence& Sequence() {
    static FixedSequence sequence;
    return sequence;
}

// v mod span, in 0..span-1, for span in 1..2^64-1 (unsigned arithmetic: no overflow).
uint64_t FloorMod(int64_t v, uint64_t span) {
    if (v >= 0) {
        return static_cast<uint64_t>(v) % span;
    }
    // -(v + 1) is |v| - 1, which fits even for the lowest int64.
    const uint64_t below = static_cast<uint64_t>(-(v + 1)) % span;
    return span - 1 - below;
}

// Seeds for new generators. The system's entropy is asked once per process: a new generator is
// made at every press of the start button, and the entropy source is slow on some machines.
uint64_t NextSeed() {
    static std::mt19937_64 seeds = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    return seeds();
}

}  // namespace

Random::Random() {
    FaultPoint("Random.Constructor");
    engine_.seed(NextSeed());
}

int64_t Random::InRange(int64_t a, int64_t b) {
    const int64_t lo = a < b ? a : b;
    const int64_t hi = a < b ? b : a;
    auto& sequence = Sequence();
    if (sequence.values.empty()) {
        return std::uniform_int_distribution<int64_t>(lo, hi)(engine_);
    }
    const int64_t v = sequence.values[sequence.next];
    sequence.next = (sequence.next + 1) % sequence.values.size();
    // The span wraps to 0 for the whole int64 range, where every value maps to itself shifted.
    const uint64_t span = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) + 1;
    const uint64_t offset = span == 0 ? static_cast<uint64_t>(v) : FloorMod(v, span);
    return static_cast<int64_t>(static_cast<uint64_t>(lo) + offset);
}

namespace testing {

void SetRandomSequence(std::vector<int64_t> values) {
    Sequence() = FixedSequence{std::move(values), 0};
}

void ResetRandom() {
    Sequence() = FixedSequence{};
}

}  // namespace testing
}  // namespace fw
