#include "tests/support/HostileFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>

#include "tests/support/PngBytes.h"
#include "tests/support/TestPictureLimits.h"

namespace karuta_test {
namespace {

constexpr int kMaxFileBytes = static_cast<int>(kTestPictureLimits.maxFileBytes);

QByteArray OneBitPng(int side) {
    QImage image(side, side, QImage::Format_Mono);
    image.fill(0);
    return EncodePng(image);
}

bool Write(const QString& path, const QByteArray& bytes) {
    // Empty bytes would mean the encoder failed (no JPEG writer), not the kind asked for.
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

const std::array<HostileKind, 12> kHostileKinds = {{
    {Hostile::kFifo, "a named pipe", fw::PictureRefusal::kNotRegularFile},
    {Hostile::kDirectory, "a directory", fw::PictureRefusal::kNotRegularFile},
    {Hostile::kLinkToDevice, "a link to /dev/zero", fw::PictureRefusal::kNotRegularFile},
    {Hostile::kHugeOneBit, "4096 x 4096 one-bit pixels", fw::PictureRefusal::kTooLarge},
    {Hostile::kLyingChunk, "a chunk declaring 2 GiB", fw::PictureRefusal::kMalformed},
    {Hostile::kJpeg, "a JPEG", fw::PictureRefusal::kNotPng},
    {Hostile::kTruncated, "a PNG cut in half", fw::PictureRefusal::kMalformed},
    {Hostile::kOverByteCap, "a PNG padded past the byte cap", fw::PictureRefusal::kOverByteCap},
    {Hostile::kLargeOneBit, "512 x 512 one-bit pixels", fw::PictureRefusal::kNone},
    {Hostile::kEmptyBlocks, "4 MiB of empty compressed blocks",
     fw::PictureRefusal::kOverWorkBudget},
    {Hostile::kEmptyBlocksWithinBound, "2 MB of empty compressed blocks",
     fw::PictureRefusal::kOverWorkBudget},
    {Hostile::kBadTextChunks, "behind 800 text chunks that fail to inflate",
     fw::PictureRefusal::kNone},
}};

bool MakeHostileFile(const QString& path, Hostile kind) {
    QFile::remove(path);
    QDir().rmdir(path);
    const QByteArray name = QFile::encodeName(path);
    switch (kind) {
        case Hostile::kFifo:
            return ::mkfifo(name.constData(), 0600) == 0;
        case Hostile::kDirectory:
            return QDir().mkdir(path);
        case Hostile::kLinkToDevice:
            return ::symlink("/dev/zero", name.constData()) == 0;
        case Hostile::kHugeOneBit:
            return Write(path, OneBitPng(4096));
        case Hostile::kLyingChunk:
            return Write(path, PngWithLyingChunk());
        case Hostile::kJpeg:
            return Write(path, EncodeAs(QImage::fromData(NoisyPng(140, 320)), "JPEG"));
        case Hostile::kTruncated: {
            const QByteArray whole = NoisyPng(140, 320);
            return Write(path, whole.left(whole.size() / 2));
        }
        case Hostile::kOverByteCap:
            // Sparse: the zeros take no disk space.
            return Write(path, NoisyPng(14, 32)) &&
                   ::truncate(name.constData(), off_t{kMaxFileBytes} + 1) == 0;
        case Hostile::kLargeOneBit:
            return Write(path, OneBitPng(512));
        // Made once: a test writes a hundred of each.
        case Hostile::kEmptyBlocks: {
            static const QByteArray bytes = PngOfEmptyBlocks(8, kMaxFileBytes - 256);
            return Write(path, bytes);
        }
        case Hostile::kEmptyBlocksWithinBound: {
            static const QByteArray bytes = PngOfEmptyBlocks(16, 2'095'000);
            return Write(path, bytes);
        }
        case Hostile::kBadTextChunks: {
            static const QByteArray bytes = PngWithBadTextChunks(OneBitPng(512), 800);
            return Write(path, bytes);
        }
    }
    return false;
}

}  // namespace karuta_test
