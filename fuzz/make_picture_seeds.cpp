// Writes the picture fuzzer's starting corpus into the folder given as the argument: pictures
// like the cards, in the PNG variants a decoder must handle, and a few of the hostile files the
// loader refuses. The real card files, when the main build has drawn them, are added by run.sh.
#include <spng.h>
#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/SeedFiles.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

// pixels are in the PNG's own layout for the header given.
Bytes Encode(spng_ihdr header, const Bytes& pixels, spng_plte* palette = nullptr,
             spng_trns* transparency = nullptr) {
    const std::unique_ptr<spng_ctx, ContextDeleter> context(spng_ctx_new(SPNG_CTX_ENCODER));
    spng_ctx* png = context.get();
    spng_set_option(png, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_ihdr(png, &header);
    if (palette != nullptr) {
        spng_set_plte(png, palette);
    }
    if (transparency != nullptr) {
        spng_set_trns(png, transparency);
    }
    if (spng_encode_image(png, pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) !=
        0) {
        return {};
    }
    size_t size = 0;
    int error = 0;
    uint8_t* buffer = static_cast<uint8_t*>(spng_get_png_buffer(png, &size, &error));
    if (buffer == nullptr) {
        return {};
    }
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

void PutBigEndian(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
    }
}

// A card-sized picture: a dark-green frame around a light face with dark strokes.
Bytes Card() {
    constexpr uint32_t kWidth = 140;
    constexpr uint32_t kHeight = 320;
    Bytes pixels(kWidth * kHeight * 3);
    for (uint32_t y = 0; y < kHeight; ++y) {
        for (uint32_t x = 0; x < kWidth; ++x) {
            const bool frame = x < 8 || y < 8 || x >= kWidth - 8 || y >= kHeight - 8;
            const bool stroke = (x / 6 + y / 11) % 5 == 0 && x % 35 > 10;
            const std::array<uint8_t, 3> colour = frame    ? std::array<uint8_t, 3>{20, 80, 30}
                                                  : stroke ? std::array<uint8_t, 3>{30, 30, 30}
                                                           : std::array<uint8_t, 3>{245, 240, 230};
            for (int c = 0; c < 3; ++c) {
                pixels[(y * kWidth + x) * 3 + c] = colour[c];
            }
        }
    }
    return Encode({kWidth, kHeight, 8, SPNG_COLOR_TYPE_TRUECOLOR, 0, 0, 0}, pixels);
}

Bytes PaletteWithTransparency() {
    spng_plte palette{};
    palette.n_entries = 4;
    for (uint32_t i = 0; i < 4; ++i) {
        palette.entries[i] = {static_cast<uint8_t>(60 * i), 90, static_cast<uint8_t>(200 - 40 * i),
                              0};
    }
    spng_trns transparency{};
    transparency.n_type3_entries = 2;
    transparency.type3_alpha[0] = 0;
    transparency.type3_alpha[1] = 128;
    Bytes pixels(16 * 16 / 4);  // two bits a pixel
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<uint8_t>(i * 37);
    }
    return Encode({16, 16, 2, SPNG_COLOR_TYPE_INDEXED, 0, 0, 0}, pixels, &palette, &transparency);
}

Bytes SixteenBitGreyAlpha() {
    Bytes pixels(12 * 9 * 4);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<uint8_t>(i * 11);
    }
    return Encode({12, 9, 16, SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 0, 0, 0}, pixels);
}

// Far more pixels than any card: one bit each, all zero, so the file stays small.
Bytes OneBitGiant() {
    return Encode({4096, 4096, 1, SPNG_COLOR_TYPE_GRAYSCALE, 0, 0, 0}, Bytes(4096 / 8 * 4096));
}

// A 1 x 1 picture whose header then claims width x height, its CRC made right again.
Bytes Claiming(uint32_t width, uint32_t height) {
    Bytes bytes = Encode({1, 1, 8, SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 0, 0, 0}, Bytes(4));
    PutBigEndian(bytes, 16, width);
    PutBigEndian(bytes, 20, height);
    PutBigEndian(bytes, 29, static_cast<uint32_t>(crc32(0, &bytes[12], 17)));
    return bytes;
}

// The signature and header of a 1 x 1 picture, then a text chunk declaring 2^31 - 1 bytes of
// which 34 follow.
Bytes LyingChunk() {
    Bytes bytes = Encode({1, 1, 8, SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 0, 0, 0}, Bytes(4));
    bytes.resize(33);
    const std::string chunk =
        std::string("\x7f\xff\xff\xfftEXtComment", 15) + '\0' + std::string(26, 'x');
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    return bytes;
}

bool Write(const std::string& folder, const char* name, const Bytes& bytes) {
    return !bytes.empty() &&
           WriteSeedFile(
               folder, name,
               std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool WriteSeeds(const std::string& folder) {
    const Bytes card = Card();
    return Write(folder, "card.png", card) &&
           Write(folder, "card_cut_in_half.png",
                 Bytes(card.begin(), card.begin() + card.size() / 2)) &&
           Write(folder, "palette_transparency.png", PaletteWithTransparency()) &&
           Write(folder, "sixteen_bit_grey_alpha.png", SixteenBitGreyAlpha()) &&
           Write(folder, "one_bit_4096.png", OneBitGiant()) &&
           Write(folder, "claims_100000.png", Claiming(100000, 100000)) &&
           Write(folder, "lying_chunk.png", LyingChunk());
}

}  // namespace

int main(int argc, char** argv) {
    return SeedWriterMain(argc, argv, WriteSeeds);
}
