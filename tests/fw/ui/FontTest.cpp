#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <string>

#include "fw/ui/Font.h"
#include "fw/ui/QtFont.h"

namespace {

const fw::DeclaredFont kRegular{"MS明朝", 12.0f, {}, false, false, false};

fw::DeclaredFont Styled(bool bold, bool italic) {
    fw::DeclaredFont font = kRegular;
    font.bold = bold;
    font.italic = italic;
    return font;
}

// Text in black on white at a device pixel ratio of 1, in the font the controls get.
QImage Drawn(const fw::DeclaredFont& declared, const char* text) {
    QImage image(96, 24, QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(fw::detail::QtFontFor(declared));
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, QString::fromUtf8(text));
    return image;
}

// The pixels where one image is darker than the other by more than half: ink that a reader sees,
// not the grey that antialiasing leaves of a hairline.
int ClearlyDifferentPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 128;
        }
    }
    return count;
}

// All the darkness of an image, in pixels' worth of full ink.
int Ink(const QImage& image) {
    int sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            sum += 255 - qGray(image.pixel(x, y));
        }
    }
    return sum / 255;
}

// A voicing mark is two ticks, and each must leave at least one clearly inked pixel; so must the
// left stroke that tells に from こ.
constexpr int kClearlyInked = 2;

}  // namespace

// At the game's 12 px and a scale of 1, kana in a Mincho name keep what tells them apart, in
// plain and in bold text.
TEST(FontTest, SmallMinchoKanaKeepTheirVoicingMarksAndStrokes) {
    struct Case {
        const char* plain;
        const char* marked;
    } cases[] = {{"て", "で"}, {"は", "ば"}, {"す", "ず"}, {"か", "が"}, {"こ", "に"}};
    for (const Case& c : cases) {
        for (bool bold : {false, true}) {
            const fw::DeclaredFont font = Styled(bold, false);
            EXPECT_GE(ClearlyDifferentPixels(Drawn(font, c.plain), Drawn(font, c.marked)),
                      kClearlyInked)
                << c.plain << " " << c.marked << (bold ? " bold" : "");
        }
    }
}

// The face that small Mincho text gets has a single upright weight: bold and italic text must
// still come out heavier and slanted.
TEST(FontTest, SmallMinchoTextStillTakesBoldAndItalic) {
    const char* kana = "でばずがに";
    const QImage plain = Drawn(kRegular, kana);
    EXPECT_GT(Ink(Drawn(Styled(true, false), kana)), Ink(plain) * 5 / 4);
    EXPECT_GE(ClearlyDifferentPixels(plain, Drawn(Styled(false, true), kana)), 5 * kClearlyInked);
}

// Below 20 px Mincho text gets the face kept for text sizes, from there on the serif CJK family,
// whose hairlines hold at that size. The platform's size counts as a small one.
TEST(FontTest, MinchoFamilyFollowsThePixelSize) {
    struct Case {
        float size;
        const char* family;
    } cases[] = {{12.0f, "IPAexMincho"},
                 {19.4f, "IPAexMincho"},
                 {0.0f, "IPAexMincho"},
                 {19.6f, "Noto Serif CJK JP"},
                 {36.0f, "Noto Serif CJK JP"}};
    for (const Case& c : cases) {
        const fw::DeclaredFont declared{"平成明朝\r", c.size, {}, false, false, false};
        EXPECT_EQ(QFontInfo(fw::detail::QtFontFor(declared)).family().toStdString(), c.family)
            << c.size;
    }
}
