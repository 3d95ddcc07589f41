#include "tests/support/PngBytes.h"

#include <QBuffer>
#include <QtEndian>
#include <cstdint>

namespace karuta_test {
namespace {

uint32_t Crc32(const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

uint32_t Adler32(const QByteArray& bytes) {
    uint32_t a = 1;
    uint32_t b = 0;
    for (const char byte : bytes) {
        a = (a + static_cast<uint8_t>(byte)) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

QByteArray BigEndian(uint32_t value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A zlib stream of bytes, as zlib's own compressor writes it.
QByteArray ZlibStream(const QByteArray& bytes) {
    return qCompress(bytes, 9).mid(4);  // without Qt's length prefix
}

// Writes a deflate stream bit by bit, least significant bit first, as deflate packs them.
class DeflateBits {
public:
    void Put(uint32_t value, int bits) {
        for (int bit = 0; bit < bits; ++bit) {
            if (used_ == 0) {
                bytes_.append('\0');
            }
            if ((value >> bit) & 1u) {
                bytes_.back() = static_cast<char>(bytes_.back() | (1 << used_));
            }
            used_ = (used_ + 1) % 8;
        }
    }
    // A block that holds nothing and still carries its own code tables: all 257 literal and
    // length codes absent but the end of the block, coded in one bit, and one distance code.
    void PutEmptyDynamicBlock() {
        Put(0b100, 3);  // not the last block; dynamic codes
        Put(0, 5);      // 257 literal and length codes
        Put(0, 5);      // one distance code
        Put(14, 4);     // 18 code-length codes, in deflate's order up to that of length 1
        for (int n = 0; n < 18; ++n) {
            // Only "repeat a zero 11 to 138 times" (third) and "length 1" (last) are used, each
            // of length 1: code 0 is length 1, code 1 the repeat.
            Put(n == 2 || n == 17 ? 1 : 0, 3);
        }
        Put(1, 1);
        Put(138 - 11, 7);  // literals 0 to 137 absent
        Put(1, 1);
        Put(118 - 11, 7);  // literals 138 to 255 absent
        Put(0, 1);         // the end of the block, length 1
        Put(0, 1);         // the one distance code, length 1
        Put(0, 1);         // the block's only symbol: its end
    }
    QByteArray Bytes() const { return bytes_; }

private:
    QByteArray bytes_;
    int used_ = 0;
};

}  // namespace

QByteArray PngChunk(const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type) + data;
    return BigEndian(static_cast<uint32_t>(data.size())) + typed + BigEndian(Crc32(typed));
}

QByteArray PngSignatureAndHeader(uint32_t width, uint32_t height, char bitDepth) {
    const QByteArray header =
        BigEndian(width) + BigEndian(height) + bitDepth + QByteArray("\x06\0\0\0", 4);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header);
}

QByteArray StoredBlocks(const QByteArray& bytes, int blocks, bool bytesFirst) {
    const auto block = [](bool last, const QByteArray& data) {
        // The block's three header bits, padded to the byte, then its length and the length's
        // complement, least significant byte first.
        const auto length = static_cast<uint16_t>(data.size());
        QByteArray frame(5, '\0');
        frame[0] = last ? '\x01' : '\0';
        qToLittleEndian(length, frame.data() + 1);
        qToLittleEndian(static_cast<uint16_t>(~length), frame.data() + 3);
        return frame + data;
    };
    QByteArray stream("\x78\x01", 2);
    for (int n = 1; n <= blocks; ++n) {
        const bool holdsBytes = n == (bytesFirst ? 1 : blocks);
        stream += block(n == blocks, holdsBytes ? bytes : QByteArray());
    }
    return stream + BigEndian(Adler32(bytes));
}

QByteArray WithChunksAfterHeader(const QByteArray& png, const QByteArray& chunks) {
    constexpr int kAfterHeader = 8 + 12 + 13;  // the signature and IHDR
    return png.left(kAfterHeader) + chunks + png.mid(kAfterHeader);
}

QByteArray EncodePng(const QImage& image) {
    return EncodeAs(image, "PNG");
}

QByteArray EncodeAs(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray NoisyPng(int width, int height, uint32_t seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            image.setPixel(x, y, 0xFF000000u | (seed >> 8));
        }
    }
    return EncodePng(image);
}

QByteArray PngClaiming(uint32_t width, uint32_t height) {
    const QByteArray emptyZlibStream("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
    return PngSignatureAndHeader(width, height) + PngChunk("IDAT", emptyZlibStream) +
           PngChunk("IEND", {});
}

QByteArray PngOfEmptyBlocks(char bitDepth, int imageDataBytes) {
    constexpr int kSide = 512;
    const int rowBytes = 1 + kSide * 4 * bitDepth / 8;  // a filter byte and four channels
    const QByteArray rows = ZlibStream(QByteArray(kSide * rowBytes - 1, '\0'));
    const QByteArray rawRows = rows.mid(2, rows.size() - 6);  // no zlib header or checksum
    DeflateBits data;
    data.Put(0x78, 8);
    data.Put(0x01, 8);
    while (data.Bytes().size() + rawRows.size() + 16 < imageDataBytes) {
        data.PutEmptyDynamicBlock();
    }
    for (const char byte : rawRows) {
        data.Put(static_cast<uint8_t>(byte), 8);
    }
    const QByteArray checksum = rows.right(4);
    return PngSignatureAndHeader(kSide, kSide, bitDepth) +
           PngChunk("IDAT", data.Bytes() + checksum) + PngChunk("IEND", {});
}

QByteArray PngWithBadTextChunks(const QByteArray& png, int count) {
    // libspng inflates a text chunk to no more than the file's length, nor beyond its cache: a
    // private chunk of filler lets each text inflate whole, 120 KiB staying within both.
    constexpr int kInflated = 120 * 1024;
    QByteArray zeros = ZlibStream(QByteArray(kInflated, '\0'));
    zeros.back() = static_cast<char>(zeros.back() ^ 1);  // the stream's checksum
    const QByteArray text = PngChunk("zTXt", QByteArray("Comment\0\0", 9) + zeros);
    const QByteArray filler = PngChunk("juNk", QByteArray(256 * 1024, 'x'));
    return WithChunksAfterHeader(png, filler + text.repeated(count));
}

QByteArray PngWithLyingChunk() {
    return PngSignatureAndHeader(1, 1) + BigEndian(0x7FFFFFFFu) + "tEXt" +
           QByteArray("Comment\0", 8) + QByteArray(26, 'x');
}

}  // namespace karuta_test
