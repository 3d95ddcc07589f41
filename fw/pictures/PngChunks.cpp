#include "fw/pictures/PngChunks.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

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

// The chunks a picture is made of. The rest (text, colour profiles, gamma, physical size, time,
// and whatever a program adds) changes no pixel as pictures are drawn here, with gamma and
// colour profiles left unapplied: they are dropped unread.
bool MakesThePicture(std::string_view type) {
    return type == "IHDR" || type == "PLTE" || type == "tRNS" || type == "IDAT" || type == "IEND";
}

// The format's rule: a chunk whose type begins with a capital letter is needed to show the
// picture, so a decoder that does not know it must not show one.
bool IsCritical(std::string_view type) {
    return (type[0] & 0x20) == 0;
}

}  // namespace

PictureChunks KeepPictureChunks(std::span<uint8_t> bytes, size_t maxImageDataChunks) {
    PictureChunks chunks;
    if (bytes.size() < kSignature.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), bytes.begin())) {
        chunks.refusal = PictureRefusal::kNotPng;
        return chunks;
    }
    size_t at = kSignature.size();  // the next chunk to look at
    size_t kept = at;               // where the next kept chunk goes
    for (;;) {
        const size_t left = bytes.size() - at;
        if (left < kChunkFrameBytes) {
            chunks.refusal = PictureRefusal::kMalformed;  // cut short before IEND
            return chunks;
        }
        const uint32_t length = BigEndian32(&bytes[at]);
        if (length > kMaxChunkLength || length > left - kChunkFrameBytes) {
            chunks.refusal = PictureRefusal::kMalformed;  // a chunk longer than what is there
            return chunks;
        }
        // The type is copied out: moving the chunk may overwrite where it was.
        std::array<char, 4> typeBytes;
        std::copy_n(&bytes[at + 4], 4, typeBytes.begin());
        const std::string_view type(typeBytes.data(), typeBytes.size());
        const size_t size = kChunkFrameBytes + length;
        if (MakesThePicture(type)) {
            if (type == "IDAT") {
                if (chunks.imageData.size() == maxImageDataChunks) {
                    chunks.refusal = PictureRefusal::kOverWorkBudget;
                    return chunks;
                }
                chunks.imageData.push_back(bytes.subspan(kept + 8, length));
                chunks.imageDataBytes += length;
            }
            if (kept != at) {
                std::memmove(&bytes[kept], &bytes[at], size);
            }
            kept += size;
            if (type == "IEND") {
                chunks.png = bytes.first(kept);
                return chunks;
            }
        } else if (IsCritical(type)) {
            chunks.refusal = PictureRefusal::kMalformed;
            return chunks;
        }
        at += size;
    }
}

}  // namespace fw
