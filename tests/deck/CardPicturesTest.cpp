#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <set>
#include <string>

#include "deck/CardPictures.h"
#include "fw/core/Exceptions.h"
#include "fw/core/FaultPoint.h"
#include "fw/pictures/Picture.h"
#include "tests/support/OpenCounter.h"

namespace {

// Every test reads pictures from a fresh folder of its own, with empty caches and counters.
class CardPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        fw::testing::SetResourcesFolder(folder_.path().toStdString());
        deck::testing::ClearPictureCaches();
        fw::testing::ResetOpenFromAppCounts();
        fw::testing::DisarmFaults();
    }
    void TearDown() override {
        fw::testing::DisarmFaults();
        deck::testing::ClearPictureCaches();
        fw::testing::SetResourcesFolder("");
    }

    // A picture file whose width tells which file was read.
    void WritePicture(const std::string& fileName, int width, int height = 16) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(0x20, 0x60, 0x30));
        ASSERT_TRUE(image.save(Path(fileName), "PNG"));
    }
    QString Path(const std::string& fileName) const {
        return folder_.filePath(QString::fromStdString(fileName));
    }

    static const deck::PictureLoader& Loader(int64_t n) {
        const deck::PictureLoader* loader = deck::PoemCardLoader(n);
        if (loader == nullptr) {
            throw std::logic_error("no loader for " + std::to_string(n));
        }
        return *loader;
    }

    QTemporaryDir folder_;
};

TEST_F(CardPicturesTest, LoadedPictureIsSharedAndTheFileOpenedOnce) {
    WritePicture("karuta7.pct", 21);
    const deck::PictureLoader& loader = Loader(7);
    fw::Ref<fw::Picture> first = loader.Load();
    fw::Ref<fw::Picture> second = loader.Load();
    ASSERT_FALSE(first.IsNil());
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(first->Width(), 21);
    // The cache keeps one reference; each caller holds its own.
    EXPECT_EQ(first->RefCount(), 3);
    EXPECT_EQ(fw::testing::OpenFromAppCount("karuta7.pct"), 1);

    // Loaded is final: the file going away changes nothing, nothing reads it again.
    first.Reset();
    second.Reset();
    ASSERT_TRUE(QFile::remove(Path("karuta7.pct")));
    fw::Ref<fw::Picture> third = loader.Load();
    ASSERT_FALSE(third.IsNil());
    EXPECT_EQ(third->Width(), 21);
    EXPECT_EQ(fw::testing::OpenFromAppCount("karuta7.pct"), 1);
    // Loading one card opens no other picture.
    EXPECT_EQ(fw::testing::OpenFromAppCount("karuta8.pct"), 0);
    EXPECT_EQ(fw::testing::OpenFromAppCount("Green.pct"), 0);
}

TEST_F(CardPicturesTest, CardBackIsLoadedOnceForEveryCanvasThatAsks) {
    WritePicture("Green.pct", 18, 34);
    const fw::Ref<fw::Picture> first = deck::Green();
    ASSERT_FALSE(first.IsNil());
    EXPECT_EQ(first->Width(), 18);
    EXPECT_EQ(first->Height(), 34);
    // Ten card frames and ten card faces ask for it when the window opens.
    for (int i = 1; i < 20; ++i) {
        EXPECT_EQ(deck::Green().Get(), first.Get());
    }
    EXPECT_EQ(fw::testing::OpenFromAppCount("Green.pct"), 1);
}

// A card file that is missing or refused gives nil and every call (every deal) asks again; a
// refused file is read once, and asked for again while it is the same file it is refused after
// a look at it, without being opened. However the file is put right, the next call shows it.
// The loader that read a refused file at every call spent a file's whole decoding each deal.
TEST_F(CardPicturesTest, AFileMissingOrRefusedIsAskedForAtEveryCallAndShowsOncePutRight) {
    QImage image(15, 16, QImage::Format_RGB32);
    image.fill(QColor(0x20, 0x60, 0x30));
    QByteArray good;
    {
        QBuffer buffer(&good);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
    }
    const QByteArray half = good.left(good.size() / 2);
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    struct Case {
        const char* how;
        bool missing;  // else the file is there, cut in half
        // Puts the good file at path.
        std::function<bool(const QString& path)> putRight;
    };
    const Case cases[] = {
        {"missing, then written", true, [&](const QString& path) { return write(path, good); }},
        {"written over in place", false, [&](const QString& path) { return write(path, good); }},
        {"replaced by another file", false,
         [&](const QString& path) {
             return write(path + ".new", good) &&
                    ::rename(QFile::encodeName(path + ".new"), QFile::encodeName(path)) == 0;
         }},
    };
    int64_t n = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        const deck::PictureLoader& loader = Loader(n++);
        const QString path = Path(loader.FileName());
        if (!c.missing) {
            ASSERT_TRUE(write(path, half));
        }
        OpenCounter opens(path);
        ASSERT_TRUE(c.missing || opens.Watching());
        int opened = 0;
        for (int call = 1; call <= 3; ++call) {
            EXPECT_TRUE(loader.Load().IsNil());
            EXPECT_EQ(fw::testing::OpenFromAppCount(loader.FileName()), call);
            opened += opens.Opens();
        }
        if (!c.missing) {
            EXPECT_EQ(opened, 1) << "the refused file was read again unchanged";
        }

        ASSERT_TRUE(c.putRight(path));
        const fw::Ref<fw::Picture> loaded = loader.Load();
        ASSERT_FALSE(loaded.IsNil());
        EXPECT_EQ(loaded->Width(), 15);
        EXPECT_EQ(loader.Load().Get(), loaded.Get());
        EXPECT_EQ(fw::testing::OpenFromAppCount(loader.FileName()), 4);
    }
}

TEST_F(CardPicturesTest, FailedLoadPassesThroughAndTheNextCallLoads) {
    WritePicture("karuta42.pct", 52);
    const deck::PictureLoader& loader = Loader(42);
    fw::testing::ArmFault("Picture._OpenFromApp");
    try {
        loader.Load();
        FAIL() << "the load's exception did not reach the caller";
    } catch (const fw::RuntimeException& e) {
        EXPECT_STREQ(e.ClassName(), "RuntimeException");
        EXPECT_NE(std::string(e.what()).find("Picture._OpenFromApp"), std::string::npos);
    }
    const fw::Ref<fw::Picture> loaded = loader.Load();
    ASSERT_FALSE(loaded.IsNil());
    EXPECT_EQ(loaded->Width(), 52);
    EXPECT_EQ(loaded->RefCount(), 2);
    EXPECT_EQ(fw::testing::OpenFromAppCount("karuta42.pct"), 2);
}

TEST_F(CardPicturesTest, PoemNumberNamesItsOwnCard) {
    struct Case {
        int64_t n;
        const char* name;
        const char* fileName;
    };
    const Case cases[] = {
        {0, "karuta0", "karuta0.pct"},
        {7, "karuta7", "karuta7.pct"},
        {10, "karuta10", "karuta10.pct"},
        {99, "karuta99", "karuta99.pct"},
    };
    for (const Case& c : cases) {
        WritePicture(c.fileName, static_cast<int>(100 + c.n));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        const deck::PictureLoader& loader = Loader(c.n);
        EXPECT_EQ(loader.Name(), c.name);
        EXPECT_EQ(loader.FileName(), c.fileName);
        EXPECT_EQ(deck::PoemCardLoader(c.n), &loader);
        const fw::Ref<fw::Picture> picture = loader.Load();
        ASSERT_FALSE(picture.IsNil());
        EXPECT_EQ(picture->Width(), 100 + c.n);
    }

    // Each poem number selects a loader of its own.
    std::set<const deck::PictureLoader*> loaders;
    std::set<std::string> fileNames;
    for (int64_t n = 0; n < 100; ++n) {
        loaders.insert(&Loader(n));
        fileNames.insert(Loader(n).FileName());
    }
    EXPECT_EQ(loaders.size(), 100u);
    EXPECT_EQ(fileNames.size(), 100u);
    EXPECT_EQ(fileNames.count("Green.pct"), 0u);
}

TEST_F(CardPicturesTest, NumbersOutsideTheDeckSelectNoCard) {
    for (int64_t n : {int64_t{-1}, int64_t{100}, int64_t{5} + (int64_t{1} << 32),
                      std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()}) {
        EXPECT_EQ(deck::PoemCardLoader(n), nullptr) << n;
    }
}

}  // namespace
