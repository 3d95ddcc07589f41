#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace fw {

// Whether the zlib stream made of parts, in order, comes in at most maxBlocks compressed blocks
// before it ends, fails, runs out, or has given more than maxOutput bytes. Inflates the stream and
// throws the output away: the work a decoder will do, stopped as soon as it goes over the budget.
// Raises std::bad_alloc when zlib is refused memory.
bool WithinBlockBudget(const std::vector<std::span<const uint8_t>>& parts, size_t maxOutput,
                       uint32_t maxBlocks);

}  // namespace fw
