#include "fw/Picture.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <string>

#include "fw/FaultPoint.h"

namespace {

QByteArray EncodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A picture whose pixels all differ, so its compressed data is long enough to cut in half.
QByteArray NoisyPng(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            image.setPixel(x, y, 0xFF000000u | (seed >> 8));
        }
    }
    return EncodePng(image);
}

uint32_t Crc32(const QByteArray& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (char byte : data) {
        crc ^= static_cast<uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void AppendBigEndian(QByteArray& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.append(static_cast<char>((value >> shift) & 0xFF));
    }
}

void AppendChunk(QByteArray& out, const char* type, const QByteArray& data) {
    AppendBigEndian(out, static_cast<uint32_t>(data.size()));
    QByteArray typed(type);
    typed.append(data);
    out.append(typed);
    AppendBigEndian(out, Crc32(typed));
}

// A well-formed PNG header that claims width x height RGBA pixels, followed by a little
// compressed data that could never fill them.
QByteArray PngClaiming(uint32_t width, uint32_t height) {
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    AppendBigEndian(header, width);
    AppendBigEndian(header, height);
    header.append("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", QByteArray("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9));
    AppendChunk(png, "IEND", {});
    return png;
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        fw::testing::SetResourcesFolder(folder_.path().toStdString());
        fw::testing::ResetOpenFromAppCounts();
    }
    void TearDown() override {
        fw::testing::SetResourcesFolder("");
        fw::testing::DisarmFaults();
    }

    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(folder_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QTemporaryDir folder_;
};

TEST_F(PictureTest, OpensReadablePicturesByContentAndRefusesEverythingElse) {
    const QByteArray noisy = NoisyPng(64, 48);
    Write("Green.pct", noisy);
    Write("half.pct", noisy.left(noisy.size() / 2));
    Write("empty.pct", {});
    Write("text.pct", "karuta0 is not a picture\n");
    Write("huge.pct", PngClaiming(100000, 100000));
    Write("wide.pct", EncodePng(QImage(4097, 1, QImage::Format_RGB32)));
    Write("widest.pct", EncodePng(QImage(4096, 1, QImage::Format_RGB32)));
    Write("tall.pct", EncodePng(QImage(1, 4097, QImage::Format_RGB32)));
    // The same picture under a name outside the folder, to prove the name check and not a
    // missing file turns it away.
    QFile::copy(folder_.filePath("Green.pct"), folder_.filePath("../outside.pct"));

    struct Case {
        std::string name;
        int64_t width;  // 0: nil expected
        int64_t height;
    };
    const Case cases[] = {
        {"Green.pct", 64, 48},
        {"widest.pct", 4096, 1},
        {"missing.pct", 0, 0},
        {"empty.pct", 0, 0},
        {"half.pct", 0, 0},
        {"text.pct", 0, 0},
        {"huge.pct", 0, 0},
        {"wide.pct", 0, 0},
        {"tall.pct", 0, 0},
        {"../outside.pct", 0, 0},
        {"..", 0, 0},
        {"sub/Green.pct", 0, 0},
        {"sub\\Green.pct", 0, 0},
        {folder_.filePath("Green.pct").toStdString(), 0, 0},
        {std::string("Green.pct\0x", 11), 0, 0},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("name: " + c.name);
        fw::Ref<fw::Picture> picture;
        ASSERT_NO_THROW(picture = fw::Picture::_OpenFromApp(c.name));
        if (c.width == 0) {
            EXPECT_TRUE(picture.IsNil());
            continue;
        }
        ASSERT_FALSE(picture.IsNil());
        EXPECT_EQ(picture->Width(), c.width);
        EXPECT_EQ(picture->Height(), c.height);
        EXPECT_EQ(picture->Image().format(), QImage::Format_ARGB32_Premultiplied);
    }
    QFile::remove(folder_.filePath("../outside.pct"));
}

TEST_F(PictureTest, KeepsThePixelsOfTheFile) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, 0xFFFF0000u);
    image.setPixel(1, 0, 0xFF0000FFu);
    Write("pair.pct", EncodePng(image));

    fw::Ref<fw::Picture> picture = fw::Picture::_OpenFromApp("pair.pct");
    ASSERT_FALSE(picture.IsNil());
    EXPECT_EQ(picture->Image().pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(picture->Image().pixel(1, 0), 0xFF0000FFu);
    EXPECT_EQ(picture->RefCount(), 1);  // the caller's reference is the only one
}

TEST_F(PictureTest, CountsEveryOpenPerNameAndAFaultRaisesWithoutBreakingTheNextOpen) {
    Write("Green.pct", NoisyPng(4, 4));
    fw::Picture::_OpenFromApp("Green.pct");
    fw::Picture::_OpenFromApp("Green.pct");
    fw::Picture::_OpenFromApp("karuta5.pct");  // missing: still counted

    fw::testing::ArmFault("Picture._OpenFromApp");
    EXPECT_THROW(fw::Picture::_OpenFromApp("Green.pct"), fw::RuntimeException);
    EXPECT_FALSE(fw::Picture::_OpenFromApp("Green.pct").IsNil());

    EXPECT_EQ(fw::testing::OpenFromAppCount("Green.pct"), 4);
    EXPECT_EQ(fw::testing::OpenFromAppCount("karuta5.pct"), 1);
    EXPECT_EQ(fw::testing::OpenFromAppCount("karuta7.pct"), 0);
    fw::testing::ResetOpenFromAppCounts();
    EXPECT_EQ(fw::testing::OpenFromAppCount("Green.pct"), 0);
}

TEST_F(PictureTest, WithoutAnOverrideReadsTheResourcesFolderBesideTheExecutable) {
    QDir besideExecutable(QCoreApplication::applicationDirPath());
    const bool madeFolder = !besideExecutable.exists("resources");
    ASSERT_TRUE(besideExecutable.mkpath("resources"));
    const QString name =
        QStringLiteral("picture-test-%1.pct").arg(QCoreApplication::applicationPid());
    const QString path = besideExecutable.filePath("resources/" + name);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(NoisyPng(3, 5));
    }
    Write(name, NoisyPng(7, 2));  // the override folder holds another picture of that name

    fw::Ref<fw::Picture> fromOverride = fw::Picture::_OpenFromApp(name.toStdString());
    fw::testing::SetResourcesFolder("");
    fw::Ref<fw::Picture> fromDefault = fw::Picture::_OpenFromApp(name.toStdString());

    QFile::remove(path);
    if (madeFolder) {
        besideExecutable.rmdir("resources");
    }
    ASSERT_FALSE(fromOverride.IsNil());
    ASSERT_FALSE(fromDefault.IsNil());
    EXPECT_EQ(fromOverride->Width(), 7);
    EXPECT_EQ(fromDefault->Width(), 3);
}

}  // namespace
