#pragma once

#include <cstddef>
#include <cstdint>

#include "fw/pictures/PictureLimits.h"

namespace deck {

// What a card picture file may be, as one rule: a PNG picture of at most 262,144 pixels
// (512 x 512, twice the drawn cards' resolution with room to spare) and at most 4,096 on a
// side, in any of PNG's pixel formats. The rest follows from it:
// - the file may be as long as such a picture stored uncompressed in the widest pixels PNG has
//   (four sixteen-bit channels, 8 bytes), twice over for the chunks beside the image: 4 MiB;
// - the image data may come in at most 2,048 pieces, its chunks and compressed blocks counted
//   together, every block to the end of the stream, the blocks only once the compressed data
//   is over 32 KiB. 2,048 is well above what the common encoders split such a picture into,
//   even a noisy one of sixteen-bit channels, and bounds the work of pieces that draw nothing
//   (empty blocks, each of which may make the inflater rebuild its tables), which a file of
//   4 MiB could otherwise hold by the hundred thousand. Data of up to 32 KiB costs little
//   however it is split, and the drawn cards, whose data is shorter, are spared the counting,
//   which inflates it once more;
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
