#pragma once

#include "fw/pictures/PictureLimits.h"

namespace karuta_test {

// The limits the framework's picture tests load under, and that the hostile files are made
// against: those of a program whose pictures are card-sized (at most 512 x 512 pixels, kept at
// 400 x 400), written out here because the framework and its tests know nothing of the deck.
inline constexpr fw::PictureLimits kTestPictureLimits = {
    .maxFileBytes = 4 * 1024 * 1024,
    .maxSide = 4096,
    .maxPixels = 512 * 512,
    .maxImageDataPieces = 2048,
    .uncountedImageDataBytes = 32 * 1024,
    .maxKeptSide = 400,
};

}  // namespace karuta_test
