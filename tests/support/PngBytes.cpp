#include "tests/support/PngBytes.h"

#include <QBuffer>
#include <QtEndian>

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

QByteArray BigEndian(uint32_t value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray PngChunk(const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type) + data;
    return BigEndian(static_cast<uint32_t>(data.size())) + typed + BigEndian(Crc32(typed));
}

// The signature and an IHDR chunk of width x height eight-bit RGBA pixels.
QByteArray PngSignatureAndHeader(uint32_t width, uint32_t height) {
    const QByteArray header =
        BigEndian(width) + BigEndian(height) + QByteArray("\x08\x06\0\0\0", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header);
}

}  // namespace

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

QByteArray PngWithLyingChunk() {
    return PngSignatureAndHeader(1, 1) + BigEndian(0x7FFFFFFFu) + "tEXt" +
           QByteArray("Comment\0", 8) + QByteArray(26, 'x');
}

}  // namespace karuta_test
