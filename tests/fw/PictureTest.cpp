#include "fw/Picture.h"

#include <gtest/gtest.h>

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
#include "tests/support/PngBytes.h"

namespace {

using karuta_test::EncodePng;
using karuta_test::NoisyPng;
using karuta_test::PngClaiming;

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
