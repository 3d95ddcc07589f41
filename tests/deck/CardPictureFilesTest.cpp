// The card pictures that the build draws into the resources folder beside the game.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QRect>
#include <QString>
#include <set>

#include "deck/CardPictures.h"
#include "deck/PoemTable.h"
#include "fw/Picture.h"

#ifndef KARUTA_CARD_PICTURES_DIR
#error "the build passes the folder of the drawn card pictures as KARUTA_CARD_PICTURES_DIR"
#endif

namespace {

const QString kFolder = QStringLiteral(KARUTA_CARD_PICTURES_DIR);

QImage ReadCard(const QString& fileName) {
    QImageReader reader(kFolder + QLatin1Char('/') + fileName);
    reader.setDecideFormatFromContent(true);
    return reader.read().convertToFormat(QImage::Format_RGB32);
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

TEST(CardPictureFiles, GameLoadsTheDrawnCards) {
    fw::testing::SetResourcesFolder(kFolder.toStdString());
    deck::testing::ClearPictureCaches();
    const fw::Ref<fw::Picture> card = deck::PoemCardLoader(99)->Load();
    const fw::Ref<fw::Picture> back = deck::Green();
    deck::testing::ClearPictureCaches();
    fw::testing::SetResourcesFolder("");
    ASSERT_FALSE(card.IsNil());
    EXPECT_EQ(card->Width(), 140);
    EXPECT_EQ(card->Height(), 320);
    ASSERT_FALSE(back.IsNil());
    EXPECT_EQ(back->Width(), 180);
    EXPECT_EQ(back->Height(), 340);
}

}  // namespace
