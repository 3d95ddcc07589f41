#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>

// PNG files made in memory for the tests of picture loading: good ones, noisy ones whose
// compressed data is long enough to cut short, and ones whose header lies about their size.
namespace karuta_test {

QByteArray EncodePng(const QImage& image);
// The picture in another format Qt writes ("JPEG"), for a file that is not PNG.
QByteArray EncodeAs(const QImage& image, const char* format);
// A width x height picture whose pixels all differ, drawn from seed.
QByteArray NoisyPng(int width, int height, uint32_t seed = 12345);
// A well-formed PNG header that claims width x height RGBA pixels, every chunk with its right
// CRC, followed by an empty block of image data that could never fill them.
QByteArray PngClaiming(uint32_t width, uint32_t height);
// 75 bytes: a 1 x 1 PNG header, then a text chunk that declares 2^31 - 1 bytes of which 34 follow.
QByteArray PngWithLyingChunk();

}  // namespace karuta_test
