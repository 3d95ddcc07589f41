#include "fw/pictures/DeflateBlocks.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <new>

#include "fw/core/FaultPoint.h"

namespace fw {
namespace {

voidpf Allocate(voidpf, uInt count, uInt size) {
    return FaultInjected("DeflateBlocks.Allocate") ? Z_NULL : std::calloc(count, size);
}
void Free(voidpf, voidpf p) {
    std::free(p);
}

struct Inflater {
    Inflater() {
        stream.zalloc = Allocate;
        stream.zfree = Free;
        ready = inflateInit(&stream) == Z_OK;
        if (ready) {
            // The stream's checksum is the decoder's to check: counting skips it, work that
            // tells nothing of the blocks.
            inflateValidate(&stream, 0);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    ~Inflater() {
        if (ready) {
            inflateEnd(&stream);
        }
    }

    z_stream stream{};
    bool ready = false;
};

}  // namespace

bool WithinBlockBudget(const std::vector<std::span<const uint8_t>>& parts, uint64_t pictureBytes,
                       uint32_t maxBlocks) {
    Inflater inflater;
    if (!inflater.ready) {
        // zlib fails to start only for want of memory (or a library that does not match its
        // header): nothing the file did.
        throw std::bad_alloc();
    }
    z_stream& z = inflater.stream;
    const uint64_t maxOutput = 2 * pictureBytes;
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
            if (result == Z_MEM_ERROR) {
                throw std::bad_alloc();  // no memory for the window
            }
            if ((z.data_type & 128) != 0 && ++boundaries > uint64_t{maxBlocks} + 1) {
                return false;
            }
            if (z.total_out > maxOutput) {
                return false;
            }
            if (result != Z_OK) {
                // The end, or damage the decoder will find at the same place or never reach.
                return true;
            }
        }
    }
    return true;
}

}  // namespace fw
