#pragma once

#include <QColor>
#include <QString>
#include <QTemporaryDir>

// A temporary resources folder with small card pictures, one solid colour per picture, so that
// a test can tell from a pixel which card a canvas shows, and can remove or damage a file.
class CardResources {
public:
    // Writes Green.pct and karuta0.pct to karuta99.pct, and points the framework at the folder.
    CardResources();
    // Points the framework back at its default resources folder.
    ~CardResources();

    QString Path(const QString& fileName) const;
    void Remove(const QString& fileName) const;
    // Replaces a picture file with these bytes (a damaged or foreign file).
    void Overwrite(const QString& fileName, const QByteArray& bytes) const;

    // The colour the picture of poem n is painted in, and the card back's.
    static QColor PoemColor(int n);
    static QColor BackColor();

private:
    QTemporaryDir dir_;
};
