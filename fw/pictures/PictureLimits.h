#pragma once

#include <cstddef>
#include <cstdint>

namespace fw {

// What a picture file may hold and cost, as the caller who knows what its pictures are for sets
// it: the framework's loader applies these and has no sizes of its own.
struct PictureLimits {
    // The file may be at most this long; a longer one is refused, and not read past the cap.
    size_t maxFileBytes = 0;
    // The picture's width and height may each be at most maxSide, and width x height at most
    // maxPixels, whatever the pixel format.
    uint32_t maxSide = 0;
    uint64_t maxPixels = 0;
    // The image data may come in at most this many pieces: the file's chunks that hold it and
    // the compressed blocks within them, counted together, every block to the end of the
    // stream, however far past the picture's bytes it goes. Each piece costs work that no
    // picture's size bounds (a block may make the inflater build its code tables anew, a chunk
    // has its header and checksum): this bounds the time of one load.
    uint32_t maxImageDataPieces = 0;
    // Compressed image data of at most this many bytes has its blocks left uncounted: counting
    // inflates the data once more before the decoder does, and data this short costs little
    // however it is split.
    size_t uncountedImageDataBytes = 0;
    // A loaded picture larger than this on either side is scaled down to fit a square of it.
    int maxKeptSide = 0;

    bool operator==(const PictureLimits&) const = default;
};

}  // namespace fw
