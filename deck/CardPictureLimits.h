#pragma once

#include <cstddef>
#include <cstdint>

#include "fw/PictureLimits.h"

namespace deck {

// What a card picture file may be, as one rule: a PNG picture of at most 262,144 pixels
// (512 x 512, twice the drawn cards' resolution with room to spare) and at most 4,096 on a
// side, in any of PNG's pixel formats. The rest follows from it:
// - the file may be as long as such a picture stored uncompressed in the widest pixels PNG has
//   (four sixteen-bit channels, 8 bytes), twice over for the chunks beside the image: 4 MiB;
// - the image data may come in at most 2,048 pieces, its chunks and compressed blocks counted
//   together, the blocks only once the compressed data is over 32 KiB. The most such a picture
//   takes from the common encoders is about 300 (a noisy 512 x 512 one of sixteen-bit
//   channels: 178 chunks of 8 KiB and 113 blocks). Empty pieces cost work without drawing
//   anything, an inflater's tables rebuilt for each block: 2,048 of them cost a load about 5 ms
//   here, as does 32 KiB of data split in any way, where 4 MiB of empty blocks cost half a
//   second. Counting the blocks would cost a card a third more time; the drawn cards have 14 KB
//   of image data, in two chunks and one block;
// - a picture is kept at no more than 400 x 400: the cards are drawn on canvases of at most
//   90 x 170 points from files of twice that (the card back is 180 x 340), so a larger picture
//   would only cost memory.
inline constexpr uint64_t kMaxCardPixels = uint64_t{512} * 512;
inline constexpr size_t kMaxBytesPerPixel = 8;

inline constexpr fw::PictureLimits kCardPictureLimits = {
    .maxFileBytes = 2 * kMaxCardPixels * kMaxBytesPerPixel,
    .maxSide = 4096,
    .maxPixels = kMaxCardPixels,
    .maxImageDataPieces = 2048,
    .uncountedImageDataBytes = 32 * 1024,
    .maxKeptSide = 400,
};

}  // namespace deck
