#include "fw/ui/Font.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <cmath>

#include "fw/ui/QtConvert.h"
#include "fw/ui/QtFont.h"

namespace fw {
namespace {

// Mincho (明朝) and Gyosho (行書) faces are brush-stroke serif faces.
bool WantsSerif(std::string_view name) {
    return name.find("明朝") != std::string_view::npos ||
           name.find("行書") != std::string_view::npos;
}

// The installed serif family with Japanese glyphs, chosen once; empty when there is none and
// Qt's serif style hint has to do.
const QString& SerifCjkFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* wanted : {"Noto Serif CJK JP", "Source Han Serif JP", "IPAexMincho",
                                   "IPAMincho", "Hiragino Mincho ProN", "MS Mincho"}) {
            if (installed.contains(QLatin1String(wanted))) {
                return QString::fromLatin1(wanted);
            }
        }
        for (const QString& name : installed) {
            if (name.contains(QLatin1String("Serif CJK")) ||
                name.contains(QLatin1String("Mincho"))) {
                return name;
            }
        }
        return QString();
    }();
    return family;
}

bool IsInstalled(const QString& family) {
    return !family.isEmpty() && QFontDatabase::families().contains(family);
}

// Noto Serif CJK draws the voicing marks and thin strokes of kana as hairlines, which fade at
// text sizes (で reads as て). IPAex Mincho inks each tick of a mark, so smaller Mincho text is
// drawn in it; from this size on, the serif CJK family's marks hold.
constexpr int kHairlinesHoldPixels = 20;

const QString& TextSizeMinchoFamily() {
    static const QString family =
        IsInstalled(QStringLiteral("IPAexMincho")) ? QStringLiteral("IPAexMincho") : QString();
    return family;
}

// The families for Mincho text of this many pixels, best first; the serif CJK family stays in
// the list for any character the text-size face lacks.
QStringList SerifFamiliesFor(int pixels) {
    QStringList families;
    if (pixels < kHairlinesHoldPixels && !TextSizeMinchoFamily().isEmpty()) {
        families.append(TextSizeMinchoFamily());
    }
    families.append(SerifCjkFamily().isEmpty() ? QStringLiteral("serif") : SerifCjkFamily());
    return families;
}

}  // namespace

namespace detail {

QFont QtFontFor(const DeclaredFont& declared) {
    QFont font = QApplication::font();
    if (declared.size > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(declared.size))));
    }
    if (WantsSerif(declared.name)) {
        font.setStyleHint(QFont::Serif);
        // The platform's size (no declared size) is in points; what it comes to in pixels decides.
        const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
        font.setFamilies(SerifFamiliesFor(pixels));
    } else if (const QString family = ToQString(declared.name);
               declared.name != "System" && IsInstalled(family)) {
        font.setFamilies({family});
    }
    font.setBold(declared.bold);
    font.setItalic(declared.italic);
    font.setUnderline(declared.underline);
    return font;
}

}  // namespace detail

std::string FontFamilyFor(std::string_view declaredName) {
    DeclaredFont declared;
    declared.name = std::string(declaredName);
    return detail::ToStdString(detail::QtFontFor(declared).family());
}

}  // namespace fw
