#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fw/pictures/PictureRefusal.h"

namespace fw {

// The chunks of a PNG file that make its picture, in their order behind the signature, and
// where its compressed image data lies.
struct PictureChunks {
    std::span<const uint8_t> png;  // a PNG file of IHDR, PLTE, tRNS, IDAT and IEND chunks only
    std::vector<std::span<const uint8_t>> imageData;  // the IDAT chunks' data, in order
    size_t imageDataBytes = 0;                        // their lengths added up
    PictureRefusal refusal = PictureRefusal::kNone;
};

// Walks bytes from the signature to IEND without decoding any chunk, and moves the chunks that
// make the picture to the front of bytes, in their order, over the others (no copy of the file
// is made): png and imageData then lie in bytes. Each chunk must lie within the bytes, no chunk
// the format calls critical may be unknown, and the image data may come in at most
// maxImageDataChunks chunks (else kOverWorkBudget, found without walking further). Checksums
// are left to the decoder, which checks those of the chunks it is given.
PictureChunks KeepPictureChunks(std::span<uint8_t> bytes, size_t maxImageDataChunks);

}  // namespace fw
