#include "fw/pictures/PngPicture.h"

#include <spng.h>

#include <cstdlib>
#include <memory>
#include <new>

#include "fw/core/FaultPoint.h"
#include "fw/pictures/DeflateBlocks.h"
#include "fw/pictures/PngChunks.h"

namespace fw {
namespace {

// Whether the decoder has been refused memory since the decoding began. The decoder reports
// that as one error or another, depending on what it was allocating (zlib's window, for one,
// comes back as damaged image data), so its allocations are watched instead.
thread_local bool decoderShortOfMemory = false;

// Null for no bytes is no shortage.
template <typename Allocate>
void* Watched(bool noBytes, Allocate allocate) {
    void* p = FaultInjected("PngPicture.Allocate") ? nullptr : allocate();
    if (p == nullptr && !noBytes) {
        decoderShortOfMemory = true;
    }
    return p;
}

void* DecoderMalloc(size_t size) {
    return Watched(size == 0, [&] { return std::malloc(size); });
}
void* DecoderRealloc(void* p, size_t size) {
    return Watched(size == 0, [&] { return std::realloc(p, size); });
}
void* DecoderCalloc(size_t count, size_t size) {
    return Watched(count == 0 || size == 0, [&] { return std::calloc(count, size); });
}
void DecoderFree(void* p) {
    std::free(p);
}

PictureRefusal DecodeFailure(int error) {
    if (decoderShortOfMemory || error == SPNG_EMEM) {
        return PictureRefusal::kOutOfMemory;
    }
    switch (error) {
        case SPNG_EUSER_WIDTH:
        case SPNG_EUSER_HEIGHT:
        case SPNG_ECHUNK_LIMITS:
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

// The bytes of the image data once inflated, filter bytes included: a row of each pass of the
// interlaced order, or of the whole picture, is a filter byte and its packed pixels.
uint64_t InflatedBytes(const spng_ihdr& header) {
    const auto rowBytes = [&](uint64_t width) {
        uint64_t channels = 1;  // grey, or palette indices
        switch (header.color_type) {
            case SPNG_COLOR_TYPE_TRUECOLOR:
                channels = 3;
                break;
            case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
                channels = 2;
                break;
            case SPNG_COLOR_TYPE_TRUECOLOR_ALPHA:
                channels = 4;
                break;
            default:
                break;
        }
        return 1 + (width * channels * header.bit_depth + 7) / 8;
    };
    if (header.interlace_method == SPNG_INTERLACE_NONE) {
        return header.height * rowBytes(header.width);
    }
    // Each pass: the first column and row it takes, and the step between them.
    constexpr int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                   {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    uint64_t total = 0;
    for (const auto& pass : kPasses) {
        const uint64_t width = (header.width + pass[2] - 1 - pass[0]) / pass[2];
        const uint64_t height = (header.height + pass[3] - 1 - pass[1]) / pass[3];
        if (width > 0 && height > 0) {
            total += height * rowBytes(width);
        }
    }
    return total;
}

RgbaPicture Decode(std::span<uint8_t> bytes, const PictureLimits& limits) {
    const PictureChunks chunks = KeepPictureChunks(bytes, limits.maxImageDataPieces);
    if (chunks.refusal != PictureRefusal::kNone) {
        return Refused(chunks.refusal);
    }
    decoderShortOfMemory = false;
    spng_alloc memory = {DecoderMalloc, DecoderRealloc, DecoderCalloc, DecoderFree};
    const std::unique_ptr<spng_ctx, ContextDeleter> context(spng_ctx_new2(&memory, 0));
    if (!context) {
        return Refused(PictureRefusal::kOutOfMemory);
    }
    spng_ctx* png = context.get();
    spng_ihdr header{};
    // A damaged checksum in any chunk the decoder is given, or in the image data's stream,
    // refuses the file; the chunks the walk dropped are never checked. The decoder checks the
    // image data's chunks one by one as it inflates them, and the last one's once the chunks
    // after the image data are read.
    int error = spng_set_crc_action(png, SPNG_CRC_ERROR, SPNG_CRC_ERROR);
    if (error == 0) {
        error = spng_set_image_limits(png, limits.maxSide, limits.maxSide);
    }
    if (error == 0) {
        error = spng_set_png_buffer(png, chunks.png.data(), chunks.png.size());
    }
    if (error == 0) {
        error = spng_get_ihdr(png, &header);
    }
    if (error != 0) {
        return Refused(DecodeFailure(error));
    }
    if (uint64_t{header.width} * header.height > limits.maxPixels) {
        return Refused(PictureRefusal::kTooLarge);
    }
    // What the chunks left of the budget, the blocks may take.
    if (chunks.imageDataBytes > limits.uncountedImageDataBytes &&
        !WithinBlockBudget(
            chunks.imageData, InflatedBytes(header),
            limits.maxImageDataPieces - static_cast<uint32_t>(chunks.imageData.size()))) {
        return Refused(PictureRefusal::kOverWorkBudget);
    }
    // Sixteen-bit channels stay sixteen bits until the picture is premultiplied, so that they
    // round as Qt's own reader rounds them.
    const bool sixteenBit = header.bit_depth == 16;
    const auto format = sixteenBit ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    const size_t channelBytes = sixteenBit ? 2 : 1;
    size_t size = 0;
    error = spng_decoded_image_size(png, format, &size);
    if (error != 0) {
        return Refused(DecodeFailure(error));
    }
    if (size != size_t{header.width} * header.height * 4 * channelBytes) {
        return Refused(PictureRefusal::kMalformed);
    }
    RgbaPicture picture;
    picture.pixels.resize(size);
    // Transparency chunks apply, as every viewer shows them; gamma is left as stored, as the
    // painter takes the bytes as they are.
    error = spng_decode_image(png, picture.pixels.data(), size, format, SPNG_DECODE_TRNS);
    if (error == 0) {
        error = spng_decode_chunks(png);  // to IEND, past the last image data checksum
    }
    if (error != 0) {
        return Refused(DecodeFailure(error));
    }
    picture.channelBytes = static_cast<uint32_t>(channelBytes);
    picture.width = header.width;
    picture.height = header.height;
    return picture;
}

}  // namespace

RgbaPicture DecodePng(std::span<uint8_t> bytes, const PictureLimits& limits) {
    try {
        return Decode(bytes, limits);
    } catch (const std::bad_alloc&) {
        return Refused(PictureRefusal::kOutOfMemory);
    }
}

}  // namespace fw
