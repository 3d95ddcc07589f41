#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

namespace cardgen {

// The poem cards are drawn at twice the 70 x 160 card face, and the card back at twice the
// 90 x 170 card frame, so that they stay sharp on a high-resolution screen.
inline constexpr int kPoemCardWidth = 140;
inline constexpr int kPoemCardHeight = 320;
inline constexpr int kCardBackWidth = 180;
inline constexpr int kCardBackHeight = 340;

// The part of a poem card that carries the lettering, inside the green frame.
QRect PoemTextArea();

// A printed card of the lower phrase (14 to 16 hiragana): set vertically in three columns read
// right to left, five characters to a column; a sixteen-character phrase puts six in the first
// column and a fourteen-character one four in the last. Each character sits centred in its cell.
QImage DrawPoemCard(const QString& lowerPhrase, const QFont& font);

// The card back: green, with a frame and a lattice, so that an unturned card reads as a card.
QImage DrawCardBack();

// True when the lettering of a poem card left enough dark ink in the text area: a card whose
// glyphs failed to draw shows the bare face there.
bool HasInk(const QImage& poemCard);

}  // namespace cardgen
