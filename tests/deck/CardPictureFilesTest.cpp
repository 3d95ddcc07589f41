// The card pictures that the build draws into the resources folder beside the game.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QRect>
#include <QString>
#include <set>
#include <utility>
#include <vector>

#include "deck/CardPictures.h"
#include "deck/PoemTable.h"
#include "fw/pictures/Picture.h"

#ifndef KARUTA_CARD_PICTURES_DIR
#error "the build passes the folder of the drawn card pictures as KARUTA_CARD_PICTURES_DIR"
#endif

namespace {

const QString kFolder = QStringLiteral(KARUTA_CARD_PICTURES_DIR);

QImage ReadCard(const QString& fileName, QImage::Format format = QImage::Format_RGB32) {
    QImageReader reader(kFolder + QLatin1Char('/') + fileName);
    reader.setDecideFormatFromContent(true);
    return reader.read().convertToFormat(format);
}

int DarkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 96) {
                ++dark;
            }
        }
    }
    return dark;
}

bool IsDarkGreen(QRgb pixel) {
    return qGreen(pixel) > qRed(pixel) + 12 && qGreen(pixel) > qBlue(pixel) && qGray(pixel) < 110;
}

TEST(CardPictureFiles, CardBackIsAGreenCard) {
    const QImage back = ReadCard(QStringLiteral("Green.pct"));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(180, 340));
    EXPECT_TRUE(IsDarkGreen(back.pixel(3, 170)));
    EXPECT_TRUE(IsDarkGreen(back.pixel(90, 170)) || qGreen(back.pixel(90, 170)) > 90);
}

TEST(CardPictureFiles, EveryPoemHasAPrintedCardOfItsOwn) {
    // The three columns of lettering, right to left, inside the frame's margins, and the cell
    // of a column's fifth character.
    const QRect columns[] = {QRect(88, 24, 34, 272), QRect(53, 24, 34, 272),
                             QRect(18, 24, 34, 272)};
    const auto fifthCell = [](const QRect& column) {
        return QRect(column.x(), 250, column.width(), 44);
    };
    std::set<QByteArray> contents;
    for (int n = 0; n < 100; ++n) {
        SCOPED_TRACE(n);
        const QImage card = ReadCard(QStringLiteral("karuta%1.pct").arg(n));
        ASSERT_FALSE(card.isNull());
        ASSERT_EQ(card.size(), QSize(140, 320));
        for (const QRect& column : columns) {
            EXPECT_GT(DarkPixels(card, column), 150)
                << "no lettering in column at x " << column.x();
        }
        // Read from the right: a fourteen-character phrase leaves the left column one short.
        const bool shortLastColumn = deck::LowerPhrase(n).size() == 14 * 3;
        EXPECT_GT(DarkPixels(card, fifthCell(columns[0])), 20);
        EXPECT_EQ(DarkPixels(card, fifthCell(columns[2])) == 0, shortLastColumn);
        // A dark-green frame around a white face.
        for (QPoint edge : {QPoint(3, 160), QPoint(136, 160), QPoint(70, 3), QPoint(70, 316)}) {
            EXPECT_TRUE(IsDarkGreen(card.pixel(edge))) << edge.x() << "," << edge.y();
        }
        EXPECT_GT(qGray(card.pixel(12, 12)), 230);
        contents.insert(QCryptographicHash::hash(
            QByteArray(reinterpret_cast<const char*>(card.constBits()), card.sizeInBytes()),
            QCryptographicHash::Sha256));
    }
    EXPECT_EQ(contents.size(), 100u);
}

// Every card the game loads is the file's picture pixel for pixel, as Qt's own reader gives it,
// in the format the painter draws from.
TEST(CardPictureFiles, GameLoadsTheDrawnCardsPixelForPixel) {
    fw::testing::SetResourcesFolder(kFolder.toStdString());
    deck::testing::ClearPictureCaches();
    std::vector<std::pair<QString, fw::Ref<fw::Picture>>> loaded{{"Green.pct", deck::Green()}};
    for (int n = 0; n < 100; ++n) {
        const deck::PictureLoader* loader = deck::PoemCardLoader(n);
        loaded.emplace_back(QString::fromStdString(loader->FileName()), loader->Load());
    }
    deck::testing::ClearPictureCaches();
    fw::testing::SetResourcesFolder("");
    for (const auto& [fileName, picture] : loaded) {
        SCOPED_TRACE(fileName.toStdString());
        ASSERT_FALSE(picture.IsNil());
        const QImage expected = ReadCard(fileName, QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(picture->Image(), expected);
        EXPECT_EQ(picture->Image().format(), QImage::Format_ARGB32_Premultiplied);
    }
    EXPECT_EQ(loaded.front().second->Width(), 180);
    EXPECT_EQ(loaded.front().second->Height(), 340);
    EXPECT_EQ(loaded.back().second->Width(), 140);
    EXPECT_EQ(loaded.back().second->Height(), 320);
}

}  // namespace
