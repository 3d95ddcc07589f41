// cardgen: draws the card pictures that the game loads from its resources folder: the card back
// "Green.pct" and one printed card "karuta<N>.pct" per poem, from the program's own poem table.
// The files hold PNG data under the ".pct" names the game asks for.
//
//   cardgen <output folder>      (run with QT_QPA_PLATFORM=offscreen; no display is needed)
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QRawFont>
#include <QSaveFile>
#include <QString>
#include <cstdio>
#include <string_view>

#include "deck/PoemTable.h"
#include "tools/cardgen/CardArt.h"

namespace {

const QString kFontFamily = QStringLiteral("Noto Serif CJK JP");
constexpr int kGlyphPixels = 32;

QString Phrase(int64_t poem) {
    const std::string_view text = deck::LowerPhrase(poem);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int Fail(const QString& message) {
    std::fprintf(stderr, "cardgen: %s\n", qPrintable(message));
    return 1;
}

// The cards must be lettered in the Japanese serif face; a stand-in font, or none, would print
// empty boxes or a different look, so the tool stops instead.
bool FindFont(QFont& font, QString& problem) {
    const QString install = QStringLiteral(
        "; install the package fonts-noto-cjk (it provides Noto Serif CJK JP) and build again");
    if (!QFontDatabase::families().contains(kFontFamily)) {
        problem =
            QStringLiteral("the font family \"%1\" is not installed").arg(kFontFamily) + install;
        return false;
    }
    font = QFont(kFontFamily);
    font.setPixelSize(kGlyphPixels);
    font.setWeight(QFont::Bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    if (QFontInfo(font).family() != kFontFamily) {
        problem = QStringLiteral("\"%1\" was not matched (got \"%2\")")
                      .arg(kFontFamily, QFontInfo(font).family()) +
                  install;
        return false;
    }
    const QRawFont raw = QRawFont::fromFont(font);
    for (int64_t poem = 0; poem < deck::kPoemCount; ++poem) {
        for (QChar ch : Phrase(poem)) {
            if (!raw.supportsCharacter(ch)) {
                problem = QStringLiteral("\"%1\" has no glyph for U+%2")
                              .arg(kFontFamily)
                              .arg(ch.unicode(), 4, 16, QLatin1Char('0')) +
                          install;
                return false;
            }
        }
    }
    return true;
}

bool Save(const QImage& image, const QString& path) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        return Fail(QStringLiteral("usage: cardgen <output folder>"));
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        return Fail(QStringLiteral("cannot create %1").arg(folder));
    }

    QFont font;
    QString problem;
    if (!FindFont(font, problem)) {
        return Fail(problem);
    }

    if (!Save(cardgen::DrawCardBack(), folder + QStringLiteral("/Green.pct"))) {
        return Fail(QStringLiteral("cannot write %1/Green.pct").arg(folder));
    }
    for (int64_t poem = 0; poem < deck::kPoemCount; ++poem) {
        const QString phrase = Phrase(poem);
        if (phrase.size() < 14 || phrase.size() > 16) {
            return Fail(QStringLiteral("poem %1: a lower phrase of %2 characters does not fit "
                                       "three columns of five")
                            .arg(poem)
                            .arg(phrase.size()));
        }
        const QImage card = cardgen::DrawPoemCard(phrase, font);
        if (!cardgen::HasInk(card)) {
            return Fail(QStringLiteral("poem %1: the card came out without lettering").arg(poem));
        }
        const QString path = folder + QStringLiteral("/karuta%1.pct").arg(poem);
        if (!Save(card, path)) {
            return Fail(QStringLiteral("cannot write %1").arg(path));
        }
    }
    return 0;
}
