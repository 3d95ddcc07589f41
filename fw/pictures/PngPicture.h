#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fw/pictures/PictureLimits.h"
#include "fw/pictures/PictureRefusal.h"

namespace fw {

// A decoded picture: width x height pixels of four channels each, red, green, blue and alpha in
// that order, alpha not premultiplied. A channel is one byte, or two in the machine's byte order
// for a file that stores sixteen-bit channels.
struct RgbaPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t channelBytes = 1;    // 1 or 2
    std::vector<uint8_t> pixels;  // width * height * 4 * channelBytes bytes when refusal is
                                  // kNone, else empty
    PictureRefusal refusal = PictureRefusal::kNone;
};

// Decodes bytes as a PNG file and as nothing else, within limits (its side, pixel and piece
// bounds; the byte cap is the reader's), rearranging the bytes as it goes. Before any decoding,
// every chunk up to IEND must lie within the bytes (anything after IEND is ignored), so that no
// declared length can make the decoder reserve memory for data that is not there; the decoder
// then sees only the chunks that make the picture (the header, palette, transparency, image
// data and end), so that no text, profile or other chunk costs anything, and checks the
// checksum of each of these chunks and of the image data. An unknown chunk that the format
// calls critical makes the file malformed. Image data that inflates to more than twice what the
// picture takes is refused as too costly, as counting its blocks to its end would cost more
// than decoding it (DeflateBlocks.h). Gives kNotPng, kMalformed, kTooLarge or kOverWorkBudget
// instead of a picture, or kOutOfMemory when memory runs short; never raises.
RgbaPicture DecodePng(std::span<uint8_t> bytes, const PictureLimits& limits);

}  // namespace fw
