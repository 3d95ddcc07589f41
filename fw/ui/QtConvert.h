#pragma once

// Conversions between the framework's values and Qt's, for the framework's .cpp files only.
#include <QColor>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "fw/core/Color.h"

namespace fw::detail {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) {
    return text.toStdString();
}

// The framework's alpha counts transparency (0 opaque), Qt's opacity.
inline QColor ToQColor(Color color) {
    return QColor(color.Red(), color.Green(), color.Blue(), 255 - color.Alpha());
}

// Widget coordinates are ints; the framework's are 64-bit.
inline int ToInt(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min() / 2,
                                                std::numeric_limits<int>::max() / 2));
}

// Line breaks: the framework's strings separate lines by CR, Qt's text widgets by LF. A CR LF
// pair counts as one break.
inline QString CrToLf(std::string_view text) {
    QString out = ToQString(text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

inline std::string LfToCr(const QString& text) {
    QString out = text;
    out.replace(QChar::ParagraphSeparator, QLatin1Char('\r'));
    out.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return out.toStdString();
}

// The framework's text alignments: 0 the platform's default (left), 1 left, 2 centre, 3 right.
inline Qt::Alignment ToHorizontalAlignment(int64_t align) {
    switch (align) {
        case 2:
            return Qt::AlignHCenter;
        case 3:
            return Qt::AlignRight;
        default:
            return Qt::AlignLeft;
    }
}

}  // namespace fw::detail
