#include "fw/core/RegularFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <thread>

#include "tests/support/OpenCounter.h"
#include "tests/support/PngBytes.h"

namespace {

// A file's name swapped, again and again while it is being read, between a regular
// file and a named pipe (the pipe itself, or a link to it): the pipe is never opened, and the
// regular file is still read whenever the name leads to it. The reader that looked at the name
// before opening it opened the pipe in some of the loads that met it.
TEST(RegularFileTest, NothingButARegularFileIsOpenedWhileTheNameIsSwapped) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto at = [&](const char* name) { return QFile::encodeName(folder.filePath(name)); };
    const QByteArray pipe = at("pipe");
    const QByteArray good = at("good");
    const QByteArray card = at("card.pct");
    const QByteArray next = at("next");
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    {
        QFile file(QFile::decodeName(good));
        const QByteArray png = karuta_test::NoisyPng(8, 8);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(png) == png.size());
    }
    struct Case {
        const char* swappedIn;
        std::function<int()> putPipeAtNext;
    };
    const Case cases[] = {
        {"the pipe", [&] { return ::link(pipe.constData(), next.constData()); }},
        {"a link to the pipe", [&] { return ::symlink(pipe.constData(), next.constData()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.swappedIn);
        ASSERT_EQ(::link(good.constData(), card.constData()), 0);
        OpenCounter opens(QFile::decodeName(pipe));
        ASSERT_TRUE(opens.Watching());
        std::atomic<bool> stop = false;
        std::thread swapper([&] {
            while (!stop) {
                // A failed step only makes a round swap less; the loads show both were met.
                if (c.putPipeAtNext() == 0) {
                    ::rename(next.constData(), card.constData());
                }
                if (::link(good.constData(), next.constData()) == 0) {
                    ::rename(next.constData(), card.constData());
                }
            }
        });
        int read = 0;
        int refused = 0;
        for (int load = 0; load < 10000; ++load) {
            const fw::FileBytes file = fw::ReadRegularFile(card.toStdString(), 1 << 20);
            read += file.failure == fw::FileReadFailure::kNone;
            refused += file.failure == fw::FileReadFailure::kNotRegularFile;
        }
        stop = true;
        swapper.join();
        EXPECT_EQ(opens.Opens(), 0) << "the pipe was opened";
        // Both kinds of file were met.
        EXPECT_GT(read, 0);
        EXPECT_GT(refused, 0);
        ::unlink(card.constData());
        ::unlink(next.constData());
    }
}

}  // namespace
