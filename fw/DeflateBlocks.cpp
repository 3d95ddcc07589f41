#include "fw/DeflateBlocks.h"

#include <zlib.h>

#include <array>
#include <limits>

namespace fw {
namespace {

// The stream's checksum is the decoder's to check: counting skips it, a third of the work.
struct Inflater {
    z_stream stream{};
    bool ready = inflateInit(&stream) == Z_OK && inflateValidate(&stream, 0) == Z_OK;
    ~Inflater() {
        if (ready) {
            inflateEnd(&stream);
        }
    }
};

}  // namespace

bool WithinBlockBudget(const std::vector<std::span<const uint8_t>>& parts, size_t maxOutput,
                       uint32_t maxBlocks) {
    Inflater inflater;
    if (!inflater.ready) {
        return false;  // no memory for an inflater: none for the decoder's either
    }
    z_stream& z = inflater.stream;
    std::array<Bytef, 32 * 1024> sink;
    // The stream's header is reported as a boundary too.
    uint64_t boundaries = 0;
    for (const std::span<const uint8_t> part : parts) {
        // Parts are chunks, well under what avail_in holds.
        z.next_in = const_cast<Bytef*>(part.data());
        z.avail_in = static_cast<uInt>(part.size());
        while (z.avail_in > 0) {
            z.next_out = sink.data();
            z.avail_out = static_cast<uInt>(sink.size());
            // Z_BLOCK returns at the end of each block, where data_type has its bit 7 set.
            const int result = inflate(&z, Z_BLOCK);
            if ((z.data_type & 128) != 0 && ++boundaries > uint64_t{maxBlocks} + 1) {
                return false;
            }
            if (result != Z_OK || z.total_out > maxOutput) {
                // The end, or damage the decoder will find at the same place, or more than the
                // picture takes, which the decoder will not inflate.
                return true;
            }
        }
    }
    return true;
}

}  // namespace fw
