#include "fw/PngPicture.h"

#include <spng.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <memory>

namespace fw {
namespace {

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Length, type and CRC around each chunk's data.
constexpr size_t kChunkFrameBytes = 12;
// The largest chunk length PNG allows.
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;

uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

// Walks the chunks from the signature to IEND without decoding any.
PictureRefusal CheckChunks(std::span<const uint8_t> bytes) {
    if (bytes.size() < kSignature.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), bytes.begin())) {
        return PictureRefusal::kNotPng;
    }
    size_t at = kSignature.size();
    for (;;) {
        const size_t left = bytes.size() - at;
        if (left < kChunkFrameBytes) {
            return PictureRefusal::kMalformed;  // cut short before IEND
        }
        const uint32_t length = BigEndian32(&bytes[at]);
        if (length > kMaxChunkLength || length > left - kChunkFrameBytes) {
            return PictureRefusal::kMalformed;  // a chunk longer than what is there
        }
        // The checksum covers the type and the data. The decoder checks it for the chunks it
        // reads one by one but not for the image data, so damaged image data would be shown as
        // garbled pixels rather than refused.
        const uint8_t* type = &bytes[at + 4];
        const uLong checksum = crc32(crc32(0L, nullptr, 0), type, 4 + length);
        if (checksum != BigEndian32(type + 4 + length)) {
            return PictureRefusal::kMalformed;
        }
        const bool end = std::equal(type, type + 4, "IEND");
        at += kChunkFrameBytes + length;
        if (end) {
            return PictureRefusal::kNone;
        }
    }
}

PictureRefusal DecodeFailure(int error) {
    switch (error) {
        case SPNG_EUSER_WIDTH:
        case SPNG_EUSER_HEIGHT:
        case SPNG_ECHUNK_LIMITS:
        case SPNG_EMEM:
        case SPNG_EOVERFLOW:
            return PictureRefusal::kTooLarge;
        default:
            return PictureRefusal::kMalformed;
    }
}

RgbaPicture Refused(PictureRefusal refusal) {
    RgbaPicture picture;
    picture.refusal = refusal;
    return picture;
}

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

}  // namespace

RgbaPicture DecodePng(std::span<const uint8_t> bytes) {
    if (const PictureRefusal refusal = CheckChunks(bytes); refusal != PictureRefusal::kNone) {
        return Refused(refusal);
    }
    const std::unique_ptr<spng_ctx, ContextDeleter> context(spng_ctx_new(0));
    if (!context) {
        return Refused(PictureRefusal::kTooLarge);
    }
    spng_ctx* png = context.get();
    spng_ihdr header{};
    int error = spng_set_image_limits(png, kMaxPngSide, kMaxPngSide);
    if (error == 0) {
        // No chunk is longer than the file, as checked above. The decoder takes no chunk limit
        // above its cache limit; the image data, which may be the whole file, is not held to it.
        error = spng_set_chunk_limits(png, std::min(bytes.size(), kMaxPngChunkCache),
                                      kMaxPngChunkCache);
    }
    if (error == 0) {
        error = spng_set_png_buffer(png, bytes.data(), bytes.size());
    }
    if (error == 0) {
        error = spng_get_ihdr(png, &header);
    }
    if (error != 0) {
        return Refused(DecodeFailure(error));
    }
    if (uint64_t{header.width} * header.height > kMaxPngPixels) {
        return Refused(PictureRefusal::kTooLarge);
    }
    // Sixteen-bit channels stay sixteen bits until the picture is premultiplied, so that they
    // round as any viewer rounds them.
    const bool sixteenBit = header.bit_depth == 16;
    const auto format = sixteenBit ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    const size_t channelBytes = sixteenBit ? 2 : 1;
    size_t stored = 0;
    size_t size = 0;
    error = spng_decoded_image_size(png, SPNG_FMT_PNG, &stored);
    if (error == 0) {
        error = spng_decoded_image_size(png, format, &size);
    }
    if (error != 0) {
        return Refused(DecodeFailure(error));
    }
    if (stored > kMaxPngStoredBytes) {
        return Refused(PictureRefusal::kTooLarge);
    }
    if (size != size_t{header.width} * header.height * 4 * channelBytes) {
        return Refused(PictureRefusal::kMalformed);
    }
    RgbaPicture picture;
    picture.pixels.resize(size);
    // Transparency chunks apply, as every viewer shows them; gamma is left as stored, as the
    // painter takes the bytes as they are.
    error = spng_decode_image(png, picture.pixels.data(), size, format, SPNG_DECODE_TRNS);
    if (error != 0) {
        return Refused(DecodeFailure(error));
    }
    picture.channelBytes = static_cast<uint32_t>(channelBytes);
    picture.width = header.width;
    picture.height = header.height;
    return picture;
}

}  // namespace fw
