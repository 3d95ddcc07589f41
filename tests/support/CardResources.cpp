#include "tests/support/CardResources.h"

#include <QFile>
#include <QImage>

#include "fw/pictures/Picture.h"

namespace {

void WritePicture(const QString& path, const QColor& color) {
    QImage image(14, 32, QImage::Format_ARGB32);
    image.fill(color);
    image.save(path, "PNG");
}

}  // namespace

CardResources::CardResources() {
    WritePicture(Path("Green.pct"), BackColor());
    for (int n = 0; n < 100; ++n) {
        WritePicture(Path(QString("karuta%1.pct").arg(n)), PoemColor(n));
    }
    fw::testing::SetResourcesFolder(dir_.path().toStdString());
}

CardResources::~CardResources() {
    fw::testing::SetResourcesFolder("");
}

QString CardResources::Path(const QString& fileName) const {
    return dir_.filePath(fileName);
}

void CardResources::Remove(const QString& fileName) const {
    QFile::remove(Path(fileName));
}

void CardResources::Overwrite(const QString& fileName, const QByteArray& bytes) const {
    QFile file(Path(fileName));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
}

QColor CardResources::PoemColor(int n) {
    // Distinct, never green-dominant and never the window's orange.
    return QColor(40 + 2 * n, 0, 255 - 2 * n);
}

QColor CardResources::BackColor() {
    return QColor(0, 160, 0);
}
