#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>

// PNG files made in memory for the tests of picture loading: good ones, noisy ones whose
// compressed data is long enough to cut short, and ones whose header lies about their size.
namespace karuta_test {

QByteArray EncodePng(const QImage& image);
// A chunk of that type and data, its length and CRC right.
QByteArray PngChunk(const char* type, const QByteArray& data);
// The signature and an IHDR chunk of width x height RGBA pixels of bitDepth bits a channel.
QByteArray PngSignatureAndHeader(uint32_t width, uint32_t height, char bitDepth = 8);
// A zlib stream of bytes in exactly `blocks` stored blocks (at least one): the bytes in the
// last, the others empty before it, or (bytesFirst) the bytes in the first and the others empty
// after it.
QByteArray StoredBlocks(const QByteArray& bytes, int blocks, bool bytesFirst = false);
// png with chunks (whole, as PngChunk makes them) put right after its header.
QByteArray WithChunksAfterHeader(const QByteArray& png, const QByteArray& chunks);
// The picture in another format Qt writes ("JPEG"), for a file that is not PNG.
QByteArray EncodeAs(const QImage& image, const char* format);
// A width x height picture whose pixels all differ, drawn from seed.
QByteArray NoisyPng(int width, int height, uint32_t seed = 12345);
// A well-formed PNG header that claims width x height RGBA pixels, every chunk with its right
// CRC, followed by an empty block of image data that could never fill them.
QByteArray PngClaiming(uint32_t width, uint32_t height);
// 75 bytes: a 1 x 1 PNG header, then a text chunk that declares 2^31 - 1 bytes of which 34 follow.
QByteArray PngWithLyingChunk();
// PNG declaring 512 x 512 RGBA pixels of bitDepth bits a channel (8 or 16) whose image data,
// about imageDataBytes long, is empty compressed blocks, each of which makes the inflater build
// its code tables anew, and then the pixels but their last byte: a file that can be refused
// only at its end.
QByteArray PngOfEmptyBlocks(char bitDepth, int imageDataBytes);
// png with count compressed text chunks after its header, each inflating to 120 KiB of zeros
// whose checksum is wrong, behind 256 KiB of filler in a private chunk: every chunk's own CRC is
// right, so only inflating a text finds its fault.
QByteArray PngWithBadTextChunks(const QByteArray& png, int count);

}  // namespace karuta_test
