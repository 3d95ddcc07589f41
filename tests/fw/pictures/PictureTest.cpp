#include "fw/pictures/Picture.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "fw/core/FaultPoint.h"
#include "tests/support/AllocationFaults.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/MemoryInUse.h"
#include "tests/support/PipeWatchdog.h"
#include "tests/support/PngBytes.h"
#include "tests/support/TestPictureLimits.h"

namespace {

using karuta_test::EncodePng;
using karuta_test::NoisyPng;
using karuta_test::PngClaiming;

constexpr fw::PictureLimits kLimits = karuta_test::kTestPictureLimits;

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
        fw::testing::SetPictureReportSink(nullptr);
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
    // A flipped bit in the image data's checksum: the data may still inflate to some picture,
    // but not to the one the file was written with.
    QByteArray damaged = noisy;
    damaged[damaged.size() - 13] = static_cast<char>(damaged[damaged.size() - 13] ^ 1);
    Write("damaged.pct", damaged);
    // A picture padded with zeros after its end (sparse, taking no disk space) to the byte cap,
    // and one byte more.
    Write("atCap.pct", NoisyPng(14, 32));
    Write("overCap.pct", NoisyPng(14, 32));
    const auto cap = static_cast<qint64>(kLimits.maxFileBytes);
    ASSERT_TRUE(QFile::resize(folder_.filePath("atCap.pct"), cap));
    ASSERT_TRUE(QFile::resize(folder_.filePath("overCap.pct"), cap + 1));
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
        {"widest.pct", 400, 1},  // kept no larger than a card is ever drawn
        {"atCap.pct", 14, 32},
        {"overCap.pct", 0, 0},
        {"missing.pct", 0, 0},
        {"empty.pct", 0, 0},
        {"half.pct", 0, 0},
        {"text.pct", 0, 0},
        {"huge.pct", 0, 0},
        {"wide.pct", 0, 0},
        {"tall.pct", 0, 0},
        {"damaged.pct", 0, 0},
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
        ASSERT_NO_THROW(picture = fw::Picture::_OpenFromApp(c.name, kLimits));
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

// Each kind of hostile file is refused, or kept at the size a card is drawn at, within a
// millisecond-scale budget and with a bounded peak of memory; it is reported once, and a retry
// (as the next deal makes) does the same again without a second report. The trusting loader
// hung on the pipe, held 64 MB for the one-bit giant, peaked at 2 GB for the lying chunk, and
// decoded the JPEG and the padded PNG.
TEST_F(PictureTest, HostileFilesCostLittleAndAreReportedOnce) {
    std::vector<std::string> reports;
    fw::testing::SetPictureReportSink([&](const std::string& line) { reports.push_back(line); });
    constexpr auto kMaxLoadTime = std::chrono::seconds(1);
    constexpr int64_t kMaxHeld = 8 * 1024 * 1024;
    constexpr int64_t kMaxPeakGrowth = 48 * 1024 * 1024;
    int n = 0;
    for (const karuta_test::HostileKind& hostile : karuta_test::kHostileKinds) {
        SCOPED_TRACE(hostile.description);
        // A name of its own for each kind, as a file is reported once per run.
        const std::string name = "card" + std::to_string(n++) + ".pct";
        const QString path = folder_.filePath(QString::fromStdString(name));
        ASSERT_TRUE(karuta_test::MakeHostileFile(path, hostile.kind));
        reports.clear();
        for (int attempt = 1; attempt <= 2; ++attempt) {
            SCOPED_TRACE(attempt);
            const int64_t memoryBefore = MemoryInUse();
            ResetPeakResident();
            const auto start = std::chrono::steady_clock::now();
            fw::Ref<fw::Picture> picture;
            bool blocked = false;
            {
                PipeWatchdog watchdog({path}, std::chrono::seconds(5));
                picture = fw::Picture::_OpenFromApp(name, kLimits);
                blocked = watchdog.Fired();
            }
            const auto took = std::chrono::steady_clock::now() - start;
            EXPECT_FALSE(blocked) << "the load waited on the file";
            EXPECT_LT(took, kMaxLoadTime);
            EXPECT_LT(MemoryInUse() - memoryBefore, kMaxHeld);
            if (const int64_t peak = PeakResident(); peak >= 0) {
                EXPECT_LT(peak - memoryBefore, kMaxPeakGrowth);
            }
            if (hostile.refusal != fw::PictureRefusal::kNone) {
                EXPECT_TRUE(picture.IsNil());
                continue;
            }
            ASSERT_FALSE(picture.IsNil());
            EXPECT_EQ(picture->Width(), kLimits.maxKeptSide);
            EXPECT_EQ(picture->Height(), kLimits.maxKeptSide);
            EXPECT_EQ(picture->Image().format(), QImage::Format_ARGB32_Premultiplied);
        }
        if (hostile.refusal == fw::PictureRefusal::kNone) {
            EXPECT_TRUE(reports.empty());
        } else {
            ASSERT_EQ(reports.size(), 1u);
            EXPECT_NE(reports[0].find(path.toStdString() + " "), std::string::npos) << reports[0];
            EXPECT_TRUE(reports[0].ends_with(fw::Describe(hostile.refusal))) << reports[0];
        }
    }
    fw::testing::SetPictureReportSink(nullptr);
}

// A picture in a format of that kind, every pixel of its own colour and opacity, transparent and
// half-transparent ones included.
QImage Pattern(QImage::Format format, int width = 7, int height = 5) {
    QImage image(width, height, QImage::Format_RGBA64);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const auto value = [&](int k) {
                return static_cast<quint16>((x * 9173 + y * k) & 0xFFFF);
            };
            image.setPixelColor(x, y,
                                QColor::fromRgba64(value(131), value(7919), value(40503),
                                                   static_cast<quint16>(x * 0x2AAA)));
        }
    }
    return image.convertToFormat(format);
}

// Every kind of PNG file loads as Qt's own reader shows it, pixel for pixel: eight- and
// sixteen-bit channels (kept at sixteen bits until premultiplied, as Qt rounds them), a palette
// with transparency, grey of sixteen bits, a file larger than the decoder's limit for a single
// side chunk, a picture of as many pixels as the limits allow in the widest format (which the
// loader that also bounded the stored bytes refused), and a chunk the picture does not need that
// the decoder takes badly (an empty eXIf, which libspng 0.7.3 refused as too large).
TEST_F(PictureTest, KeepsThePixelsAsQtReadsThem) {
    fw::PictureLimits unscaled = kLimits;
    unscaled.maxKeptSide = 512;
    struct Case {
        const char* name;
        QByteArray png;
    };
    const Case cases[] = {
        {"eight-bit", EncodePng(Pattern(QImage::Format_ARGB32))},
        {"sixteen-bit", EncodePng(Pattern(QImage::Format_RGBA64))},
        {"palette", EncodePng(Pattern(QImage::Format_Indexed8))},
        {"sixteen-bit grey", EncodePng(Pattern(QImage::Format_Grayscale16))},
        {"over 256 KiB", NoisyPng(300, 300)},
        {"512 x 512 sixteen-bit", EncodePng(Pattern(QImage::Format_RGBA64, 512, 512))},
        {"an empty eXIf chunk",
         karuta_test::WithChunksAfterHeader(EncodePng(Pattern(QImage::Format_ARGB32)),
                                            karuta_test::PngChunk("eXIf", {}))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write("card.pct", c.png);
        const QImage expected =
            QImage::fromData(c.png, "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_FALSE(expected.isNull());
        fw::Ref<fw::Picture> picture = fw::Picture::_OpenFromApp("card.pct", unscaled);
        ASSERT_FALSE(picture.IsNil());
        EXPECT_EQ(picture->RefCount(), 1);  // the caller's reference is the only one
        ASSERT_EQ(picture->Image().size(), expected.size());
        int differing = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                differing += picture->Image().pixel(x, y) != expected.pixel(x, y);
            }
        }
        EXPECT_EQ(differing, 0);
    }
}

// Makes the (skip + 1)-th allocation of that kind from now fail: "operator new" for the program's
// own allocations, else a fault point's name.
void FailAt(const std::string& allocations, int skip) {
    if (allocations == "operator new") {
        karuta_test::FailAllocation(skip);
    } else {
        fw::testing::ArmFault(allocations, skip);
    }
}

bool StillToFail(const std::string& allocations) {
    return allocations == "operator new" ? karuta_test::AllocationFailurePending()
                                         : fw::testing::FaultPending(allocations);
}

// A load that runs out of memory, at any allocation of its own (from counting the call to
// making the picture, through the file's bytes, the chunk list and the pixels), of the decoder,
// of the block counter or of Qt's copies of the image, gives nil and says so, but is not held
// against the file: the next load of the same file, with memory back, shows it. Each allocation
// fails in turn until the load makes no more, and one whose failure the load passes over fails
// the test. Afterwards the same file broken is reported again, for that reason. The loader that
// took a shortage for the file's fault kept a good card blank for the rest of the run; the one
// that let a shortage at its start or its end escape ended the program or the deal; the one that
// took the counter's want of memory for the end of the stream decoded the file without its
// block budget; and the one that kept the decoder's shortage from one load to the next took a
// broken file for one more shortage.
TEST_F(PictureTest, RunningOutOfMemoryIsNotHeldAgainstTheFile) {
    std::vector<std::string> reports;
    fw::testing::SetPictureReportSink([&](const std::string& line) { reports.push_back(line); });
    struct Case {
        const char* allocations;
        QByteArray png;
    };
    const Case cases[] = {
        // Long enough for its blocks to be counted, small enough to be kept as it is.
        {"operator new", NoisyPng(200, 100)},
        {"PngPicture.Allocate", NoisyPng(20, 10)},
        {"DeflateBlocks.Allocate", NoisyPng(200, 100)},
        // Scaled down, so copied twice.
        {"Picture.NewImage", NoisyPng(500, 20)},
    };
    ASSERT_GT(cases[0].png.size(), static_cast<qsizetype>(kLimits.uncountedImageDataBytes));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.allocations);
        const std::string name = std::string(c.allocations) + ".pct";
        Write(QString::fromStdString(name), c.png);
        reports.clear();
        int n = 0;
        for (;; ++n) {
            ASSERT_LT(n, 200) << "the load never stopped allocating";
            SCOPED_TRACE("allocation " + std::to_string(n));
            bool loaded = false;
            FailAt(c.allocations, n);
            ASSERT_NO_THROW(loaded = !fw::Picture::_OpenFromApp(name, kLimits).IsNil());
            const bool failed = !StillToFail(c.allocations);
            karuta_test::StopFailingAllocations();
            fw::testing::DisarmFaults();
            if (!failed) {
                EXPECT_TRUE(loaded);
                break;
            }
            EXPECT_FALSE(loaded) << "the load went on as if the allocation had not failed";
            ASSERT_FALSE(fw::Picture::_OpenFromApp(name, kLimits).IsNil())
                << "the file was held refused once memory was back";
        }
        EXPECT_GT(n, 0) << "no allocation failed";
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_TRUE(reports[0].ends_with(fw::Describe(fw::PictureRefusal::kOutOfMemory)))
            << reports[0];
        // A flipped bit in the last image data chunk's checksum.
        QByteArray damaged = c.png;
        damaged[damaged.size() - 13] = static_cast<char>(damaged[damaged.size() - 13] ^ 1);
        Write(QString::fromStdString(name), damaged);
        EXPECT_TRUE(fw::Picture::_OpenFromApp(name, kLimits).IsNil());
        ASSERT_EQ(reports.size(), 2u);
        EXPECT_TRUE(reports[1].ends_with(fw::Describe(fw::PictureRefusal::kMalformed)))
            << reports[1];
    }
}

TEST_F(PictureTest, CountsEveryOpenPerNameAndAFaultRaisesWithoutBreakingTheNextOpen) {
    Write("Green.pct", NoisyPng(4, 4));
    fw::Picture::_OpenFromApp("Green.pct", kLimits);
    fw::Picture::_OpenFromApp("Green.pct", kLimits);
    fw::Picture::_OpenFromApp("karuta5.pct", kLimits);  // missing: still counted

    fw::testing::ArmFault("Picture._OpenFromApp");
    EXPECT_THROW(fw::Picture::_OpenFromApp("Green.pct", kLimits), fw::RuntimeException);
    EXPECT_FALSE(fw::Picture::_OpenFromApp("Green.pct", kLimits).IsNil());

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

    fw::Ref<fw::Picture> fromOverride = fw::Picture::_OpenFromApp(name.toStdString(), kLimits);
    fw::testing::SetResourcesFolder("");
    fw::Ref<fw::Picture> fromDefault = fw::Picture::_OpenFromApp(name.toStdString(), kLimits);

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
