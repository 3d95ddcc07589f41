#include "tools/cardgen/CardArt.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <array>

namespace cardgen {
namespace {

const QColor kFrameGreen(0x1d, 0x4a, 0x2e);
const QColor kFrameEdge(0x12, 0x30, 0x1e);
const QColor kFace(0xfb, 0xf7, 0xec);  // white paper, slightly warm
const QColor kInk(0x1a, 0x16, 0x14);
const QColor kBackGreen(0x2f, 0x6e, 0x44);
const QColor kBackLattice(0x3f, 0x82, 0x55);
const QColor kBackGold(0xd4, 0xc0, 0x7a);

constexpr int kFrameBand = 9;     // the green frame around the face
constexpr int kTextMarginX = 6;   // face edge to the outer columns
constexpr int kTextMarginY = 12;  // face edge to the first and last rows
constexpr int kColumns = 3;
constexpr int kCharsPerColumn = 5;

// How many characters each column takes, right column first.
std::array<int, kColumns> ColumnLengths(int length) {
    const int last = std::min(kCharsPerColumn, length - 2 * kCharsPerColumn);
    return {length - kCharsPerColumn - last, kCharsPerColumn, last};
}

// Where a character's baseline sits below the centre of its cell, so that the glyphs' common
// ink band (not the font's line box, which is taller above than below) is centred vertically.
qreal BaselineBelowCentre(const QFontMetricsF& metrics, const QString& text) {
    qreal top = 0;
    qreal bottom = 0;
    for (QChar ch : text) {
        const QRectF ink = metrics.tightBoundingRect(QString(ch));
        top = std::min(top, ink.top());
        bottom = std::max(bottom, ink.bottom());
    }
    return -(top + bottom) / 2;
}

}  // namespace

QRect PoemTextArea() {
    return QRect(kFrameBand + kTextMarginX, kFrameBand + kTextMarginY,
                 kPoemCardWidth - 2 * (kFrameBand + kTextMarginX),
                 kPoemCardHeight - 2 * (kFrameBand + kTextMarginY));
}

QImage DrawPoemCard(const QString& lowerPhrase, const QFont& font) {
    QImage image(kPoemCardWidth, kPoemCardHeight, QImage::Format_RGB32);
    image.fill(kFrameGreen);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    // The frame: a darker edge line, the green band, and the face inside it.
    painter.setPen(QPen(kFrameEdge, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1, 1, kPoemCardWidth - 2, kPoemCardHeight - 2));
    const QRectF face(kFrameBand, kFrameBand, kPoemCardWidth - 2 * kFrameBand,
                      kPoemCardHeight - 2 * kFrameBand);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kFace);
    painter.drawRect(face);

    painter.setFont(font);
    painter.setPen(kInk);
    const QFontMetricsF metrics(font);
    const qreal baselineOffset = BaselineBelowCentre(metrics, lowerPhrase);
    const QRectF area(PoemTextArea());
    const qreal columnWidth = area.width() / kColumns;
    const qreal fullPitch = area.height() / kCharsPerColumn;

    int next = 0;
    const auto lengths = ColumnLengths(static_cast<int>(lowerPhrase.size()));
    for (int column = 0; column < kColumns; ++column) {
        // A long column closes up to fill the same height; a short one keeps the usual spacing
        // and ends early, as a short last line does.
        const int count = lengths[column];
        const qreal pitch = count > kCharsPerColumn ? area.height() / count : fullPitch;
        const qreal centreX = area.right() - (column + 0.5) * columnWidth;
        for (int row = 0; row < count; ++row, ++next) {
            const QString ch(lowerPhrase[next]);
            const qreal centreY = area.top() + (row + 0.5) * pitch;
            painter.drawText(
                QPointF(centreX - metrics.horizontalAdvance(ch) / 2, centreY + baselineOffset), ch);
        }
    }
    return image;
}

QImage DrawCardBack() {
    QImage image(kCardBackWidth, kCardBackHeight, QImage::Format_RGB32);
    image.fill(kBackGreen);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // A diagonal lattice over the whole back, lighter than the ground.
    const QRectF panel(22, 22, kCardBackWidth - 44, kCardBackHeight - 44);
    painter.save();
    painter.setClipRect(panel);
    painter.setPen(QPen(kBackLattice, 2));
    constexpr int kLatticeStep = 20;
    for (int d = -kCardBackHeight; d < kCardBackWidth + kCardBackHeight; d += kLatticeStep) {
        painter.drawLine(QPointF(d, 0), QPointF(d + kCardBackHeight, kCardBackHeight));
        painter.drawLine(QPointF(d, 0), QPointF(d - kCardBackHeight, kCardBackHeight));
    }
    painter.restore();

    // The border: a dark band at the edge, then a double gold rule around the lattice.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kFrameEdge, 10, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(5, 5, kCardBackWidth - 10, kCardBackHeight - 10));
    painter.setPen(QPen(kBackGold, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(15.5, 15.5, kCardBackWidth - 31, kCardBackHeight - 31));
    painter.setPen(QPen(kBackGold, 1.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(panel);
    return image;
}

bool HasInk(const QImage& poemCard) {
    const QRect area = PoemTextArea();
    qint64 dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(poemCard.pixel(x, y)) < 96) {
                ++dark;
            }
        }
    }
    // Fourteen glyphs of this size cover several percent of the area; one percent is a floor
    // that only a card without lettering falls under.
    return dark * 100 >= static_cast<qint64>(area.width()) * area.height();
}

}  // namespace cardgen
