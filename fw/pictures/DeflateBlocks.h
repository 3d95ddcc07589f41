#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace fw {

// Whether the zlib stream made of parts, in order, comes in at most maxBlocks compressed blocks,
// counted to where it ends, fails or runs out, and inflates to no more than twice pictureBytes.
// Inflates the stream and throws the output away: the work a decoder will do, stopped as soon as
// it goes over the budget. A stream that inflates to more than the picture takes is one no
// encoder writes, and counting its blocks to its end costs inflating all of it: the bound keeps
// that work within twice what the picture's decoding costs, whatever ratio the data compresses
// at, while leaving room for a stream that has some bytes to spare. Raises std::bad_alloc when
// zlib is refused memory.
bool WithinBlockBudget(const std::vector<std::span<const uint8_t>>& parts, uint64_t pictureBytes,
                       uint32_t maxBlocks);

}  // namespace fw
