#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fw/PictureRefusal.h"

namespace fw {

// The largest picture a file may decode to: a side of at most kMaxPngSide, at most
// kMaxPngPixels in all, and at most kMaxPngStoredBytes of pixel data as the file stores it
// (sixteen-bit channels take twice the time to decode of eight-bit ones). The drawn cards have
// about 60,000 pixels of three bytes; a card drawn at twice that resolution still fits. The
// bounds keep what any file can cost to about a megabyte and a few milliseconds.
constexpr uint32_t kMaxPngSide = 4096;
constexpr uint64_t kMaxPngPixels = uint64_t{1} << 18;
constexpr size_t kMaxPngStoredBytes = size_t{1} << 20;

// The most bytes of ancillary chunks (text, colour profiles) that decoding may keep or inflate.
// The drawn cards have none; they are read and dropped.
constexpr size_t kMaxPngChunkCache = size_t{256} << 10;

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

// Decodes bytes as a PNG file and as nothing else. Before any decoding, every chunk the file
// declares must lie within the bytes, up to and including IEND (anything after IEND is ignored),
// so no declared length can make the decoder reserve memory for data that is not there; then
// the header's size must be within the bounds above. Gives kNotPng, kMalformed or kTooLarge
// instead of a picture; never raises for the content of bytes.
RgbaPicture DecodePng(std::span<const uint8_t> bytes);

}  // namespace fw
