#pragma once

// Sums and differences of the framework's 64-bit coordinates and sizes. A program may set any
// Integer, INT64_MAX and INT64_MIN included; arithmetic on such values stops at the ends of the
// range instead of overflowing, and the widget conversions clamp the result further.
#include <cstdint>
#include <limits>

namespace fw::detail {

inline int64_t SaturatingAdd(int64_t a, int64_t b) noexcept {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    }
    return sum;
}

inline int64_t SaturatingSub(int64_t a, int64_t b) noexcept {
    int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference)) {
        return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    }
    return difference;
}

}  // namespace fw::detail
