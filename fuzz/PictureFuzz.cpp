// Feeds arbitrary bytes to the picture decoder, as a card file could hold them. The decoder may
// refuse them, but only with a reason of its own and no pixels; a picture it gives must lie
// within the bounds that keep a card's memory and time small, and its buffer must be exactly
// four channels of one or two bytes a pixel.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "deck/CardPictureLimits.h"
#include "fw/pictures/PngPicture.h"

namespace {

[[noreturn]] void Fault(const char* what) {
    std::fprintf(stderr, "picture_fuzz: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr fw::PictureLimits kLimits = deck::kCardPictureLimits;
    std::vector<uint8_t> bytes(data, data + size);  // the decoder rearranges what it is given
    const fw::RgbaPicture picture = fw::DecodePng(bytes, kLimits);
    switch (picture.refusal) {
        case fw::PictureRefusal::kNone:
            break;
        case fw::PictureRefusal::kNotPng:
        case fw::PictureRefusal::kMalformed:
        case fw::PictureRefusal::kTooLarge:
        case fw::PictureRefusal::kOverWorkBudget:
        case fw::PictureRefusal::kOutOfMemory:
            if (!picture.pixels.empty() || picture.width != 0 || picture.height != 0) {
                Fault("a refused picture came with pixels");
            }
            return 0;
        default:
            Fault("the decoder gave a reason that belongs to reading files");
    }
    if (picture.width == 0 || picture.height == 0 || picture.width > kLimits.maxSide ||
        picture.height > kLimits.maxSide ||
        uint64_t{picture.width} * picture.height > kLimits.maxPixels) {
        Fault("a picture outside the bounds was decoded");
    }
    if (picture.channelBytes != 1 && picture.channelBytes != 2) {
        Fault("a channel is neither one byte nor two");
    }
    if (picture.pixels.size() !=
        size_t{picture.width} * picture.height * 4 * picture.channelBytes) {
        Fault("the pixel buffer does not hold four channels for each pixel");
    }
    return 0;
}
