#include "fw/pictures/PngPicture.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "fw/pictures/PngChunks.h"
#include "tests/support/PngBytes.h"

namespace fw {
void PrintTo(PictureRefusal refusal, std::ostream* out) {
    *out << Describe(refusal);
}
}  // namespace fw

namespace {

using karuta_test::PngChunk;

// Limits for pictures of a few pixels, whose image data may come in as many pieces as a card's.
constexpr fw::PictureLimits kLimits = {
    .maxFileBytes = 64 * 1024,
    .maxSide = 16,
    .maxPixels = 256,
    .maxImageDataPieces = 2048,
    .uncountedImageDataBytes = 0,
    .maxKeptSide = 16,
};

std::vector<uint8_t> Bytes(const QByteArray& bytes) {
    return {bytes.begin(), bytes.end()};
}

// What the walk keeps of a file: only the chunks that make the picture, in their order, and
// nothing past IEND; a file that breaks the format's framing is refused without decoding.
TEST(PngPictureTest, TheChunkWalkKeepsThePicturesChunksAndRefusesBrokenFraming) {
    const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    // 2 x 2 pixels of palette indices, eight bits each: every chunk the walk keeps has its use.
    const QByteArray ihdr = PngChunk("IHDR", QByteArray("\0\0\0\x02\0\0\0\x02\x08\x03\0\0\0", 13));
    const QByteArray plte = PngChunk("PLTE", QByteArray("\xff\0\0\0\0\xff", 6));
    const QByteArray trns = PngChunk("tRNS", QByteArray("\x80", 1));
    const QByteArray rows = karuta_test::StoredBlocks(QByteArray("\0\0\x01\0\x01\0", 6), 1);
    const QByteArray idat1 = PngChunk("IDAT", rows.left(7));
    const QByteArray idat2 = PngChunk("IDAT", rows.mid(7));
    const QByteArray iend = PngChunk("IEND", {});
    const QByteArray gama = PngChunk("gAMA", QByteArray("\0\0\xb1\x8f", 4));
    const QByteArray text = PngChunk("tEXt", QByteArray("Title\0karuta", 12));
    const QByteArray time = PngChunk("tIME", QByteArray("\x07\xe8\x01\x01\0\0\0", 7));
    const QByteArray unknownAncillary = PngChunk("kaRt", "private");
    const QByteArray unknownCritical = PngChunk("KART", "private");
    // An end that says it holds one byte, where no byte is left.
    QByteArray overlongEnd = iend;
    overlongEnd[3] = '\x01';

    struct Case {
        const char* what;
        QByteArray file;
        fw::PictureRefusal refusal;
        QByteArray kept;  // the chunks kept, when the file is not refused
    };
    const QByteArray picture = ihdr + plte + trns + idat1 + idat2 + iend;
    const Case cases[] = {
        {"the picture's chunks alone", signature + picture, fw::PictureRefusal::kNone, picture},
        {"known and unknown ancillary chunks dropped",
         signature + ihdr + gama + text + plte + unknownAncillary + trns + idat1 + idat2 + time +
             iend,
         fw::PictureRefusal::kNone, picture},
        {"nothing after IEND looked at", signature + picture + unknownCritical + "\x01",
         fw::PictureRefusal::kNone, picture},
        {"an unknown critical chunk",
         signature + ihdr + unknownCritical + plte + trns + idat1 + idat2 + iend,
         fw::PictureRefusal::kMalformed,
         {}},
        {"no IEND",
         signature + ihdr + plte + trns + idat1 + idat2,
         fw::PictureRefusal::kMalformed,
         {}},
        {"a chunk one byte longer than the bytes left",
         signature + ihdr + plte + trns + idat1 + idat2 + overlongEnd,
         fw::PictureRefusal::kMalformed,
         {}},
        {"another signature",
         QByteArray("\x89PNG\r\n\x1a\r", 8) + picture,
         fw::PictureRefusal::kNotPng,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = Bytes(c.file);
        const fw::PictureChunks chunks = fw::KeepPictureChunks(bytes, kLimits.maxImageDataPieces);
        EXPECT_EQ(chunks.refusal, c.refusal);
        if (c.refusal != fw::PictureRefusal::kNone) {
            continue;
        }
        EXPECT_EQ(std::string(chunks.png.begin(), chunks.png.end()),
                  (signature + c.kept).toStdString());
        // What is kept is a picture the decoder shows.
        std::vector<uint8_t> again = Bytes(c.file);
        const fw::RgbaPicture decoded = fw::DecodePng(again, kLimits);
        EXPECT_EQ(decoded.refusal, fw::PictureRefusal::kNone);
        EXPECT_EQ(decoded.width, 2u);
    }
}

// The image data's pieces, its chunks and compressed blocks counted together, at the edge of
// the budget; the blocks are counted only once the compressed data is longer than the
// uncounted bytes, and to the end of the stream, past what the picture takes, which may be no
// more than as much again as the picture. The counter that stopped once it had the picture's
// bytes let a file of empty blocks after them through.
TEST(PngPictureTest, ImageDataInAsManyPiecesAsTheBudgetLoadsAndOneMoreIsRefused) {
    // 2 x 2 transparent pixels: a filter byte and four channels a pixel, on each row.
    const QByteArray rows(2 * (1 + 2 * 4), '\0');
    enum Counting {
        kBlocksCounted,     // no bytes uncounted
        kAtUncountedBytes,  // the compressed data exactly as long as the uncounted bytes
        kOneByteOver,       // one byte longer
    };
    struct Case {
        int chunks;
        int blocks;
        Counting counting;
        fw::PictureRefusal refusal;
        // Bytes the stream holds beyond the picture's, in its first block with the rows, the
        // empty blocks after them; 0: the rows in the last block, the empty blocks before them.
        int spareBytes = 0;
    };
    constexpr int kPieces = static_cast<int>(kLimits.maxImageDataPieces);
    const Case cases[] = {
        {kPieces - 1, 1, kBlocksCounted, fw::PictureRefusal::kNone},
        {kPieces, 1, kBlocksCounted, fw::PictureRefusal::kOverWorkBudget},
        {1, kPieces - 1, kBlocksCounted, fw::PictureRefusal::kNone},
        {1, kPieces, kBlocksCounted, fw::PictureRefusal::kOverWorkBudget},
        {kPieces, kPieces + 1, kAtUncountedBytes, fw::PictureRefusal::kNone},
        {kPieces + 1, 1, kAtUncountedBytes, fw::PictureRefusal::kOverWorkBudget},
        {1, kPieces + 1, kOneByteOver, fw::PictureRefusal::kOverWorkBudget},
        {1, kPieces - 1, kBlocksCounted, fw::PictureRefusal::kNone, 1},
        {1, kPieces, kBlocksCounted, fw::PictureRefusal::kOverWorkBudget, 1},
        {1, 1, kBlocksCounted, fw::PictureRefusal::kOverWorkBudget,
         static_cast<int>(rows.size()) + 1},
    };
    for (const Case& c : cases) {
        constexpr const char* kCountings[] = {"blocks counted", "as long as the uncounted bytes",
                                              "one byte over the uncounted bytes"};
        SCOPED_TRACE(std::to_string(c.chunks) + " chunks, " + std::to_string(c.blocks) +
                     " blocks, " + kCountings[c.counting] + ", " + std::to_string(c.spareBytes) +
                     " bytes to spare");
        const QByteArray stream = karuta_test::StoredBlocks(rows + QByteArray(c.spareBytes, '\0'),
                                                            c.blocks, c.spareBytes > 0);
        QByteArray file = karuta_test::PngSignatureAndHeader(2, 2);
        const qsizetype chunkBytes = stream.size() / c.chunks;
        for (int n = 0; n < c.chunks; ++n) {
            file += PngChunk("IDAT", n + 1 < c.chunks ? stream.mid(n * chunkBytes, chunkBytes)
                                                      : stream.mid(n * chunkBytes));
        }
        file += PngChunk("IEND", {});
        fw::PictureLimits limits = kLimits;
        if (c.counting != kBlocksCounted) {
            limits.uncountedImageDataBytes =
                static_cast<size_t>(stream.size()) - (c.counting == kOneByteOver ? 1 : 0);
        }
        std::vector<uint8_t> bytes = Bytes(file);
        const fw::RgbaPicture decoded = fw::DecodePng(bytes, limits);
        EXPECT_EQ(decoded.refusal, c.refusal);
    }
}

}  // namespace
