#include "fw/Picture.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QString>
#include <algorithm>
#include <map>

#include "fw/FaultPoint.h"

namespace fw {
namespace {

// Pictures are kept premultiplied: the raster painter draws that format without converting it
// first, so a paint costs one scaled blit and nothing else.
constexpr QImage::Format kDrawFormat = QImage::Format_ARGB32_Premultiplied;

// Bytes per pixel of kDrawFormat; the largest picture we accept needs kMaxSide² of them.
constexpr int64_t kBytesPerPixel = 4;
constexpr int kAllocationLimitMegabytes =
    static_cast<int>(Picture::kMaxSide * Picture::kMaxSide * kBytesPerPixel / (1024 * 1024));

std::string& ResourcesFolderOverride() {
    static std::string folder;
    return folder;
}

std::map<std::string, int64_t, std::less<>>& OpenCounts() {
    static std::map<std::string, int64_t, std::less<>> counts;
    return counts;
}

// A resource name is a plain file name: anything that could walk out of the resources folder,
// or name no file at all, is refused before the file system is asked.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos &&
           name.find("..") == std::string::npos;
}

QString ResourcesFolder() {
    const std::string& folder = ResourcesFolderOverride();
    if (!folder.empty()) {
        return QString::fromStdString(folder);
    }
    if (QCoreApplication::instance() == nullptr) {
        return {};  // No application, so no executable folder to look beside.
    }
    return QCoreApplication::applicationDirPath() + QStringLiteral("/resources");
}

bool FitsLimit(const QSize& size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= Picture::kMaxSide &&
           size.height() <= Picture::kMaxSide;
}

// Reads and decodes one file. Every way the file can fail to be a picture ends in a null
// image; nothing here raises.
QImage DecodeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) {
        return {};
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    // The header's claimed size is checked below; the limit also holds for formats that cannot
    // tell their size before decoding.
    reader.setAllocationLimit(kAllocationLimitMegabytes);
    const QSize claimed = reader.size();
    if (claimed.isValid() && !FitsLimit(claimed)) {
        return {};
    }
    QImage image;
    if (!reader.read(&image) || !FitsLimit(image.size())) {
        return {};
    }
    image.convertTo(kDrawFormat);
    return image;
}

}  // namespace

Picture::Picture(QImage image) : image_(std::make_unique<QImage>(std::move(image))) {}

Picture::~Picture() = default;

Ref<Picture> Picture::_OpenFromApp(const std::string& name) {
    ++OpenCounts()[name];
    FaultPoint("Picture._OpenFromApp");
    if (!IsPlainFileName(name)) {
        return nullptr;
    }
    const QString folder = ResourcesFolder();
    if (folder.isEmpty()) {
        return nullptr;
    }
    QImage image = DecodeFile(folder + QLatin1Char('/') + QString::fromStdString(name));
    if (image.isNull()) {
        return nullptr;
    }
    return Ref<Picture>(new Picture(std::move(image)));
}

Ref<Picture> Picture::Create(int64_t width, int64_t height) {
    auto side = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 1, kMaxSide)); };
    QImage image(side(width), side(height), kDrawFormat);
    image.fill(Qt::transparent);
    return Ref<Picture>(new Picture(std::move(image)));
}

Ref<Picture> Picture::FromImage(const QImage& image) {
    return Ref<Picture>(new Picture(image.convertToFormat(kDrawFormat)));
}

int64_t Picture::Width() const noexcept {
    return image_->width();
}

int64_t Picture::Height() const noexcept {
    return image_->height();
}

namespace testing {

void SetResourcesFolder(const std::string& path) {
    ResourcesFolderOverride() = path;
}

int64_t OpenFromAppCount(const std::string& name) {
    const auto& counts = OpenCounts();
    auto it = counts.find(name);
    return it == counts.end() ? 0 : it->second;
}

void ResetOpenFromAppCounts() {
    OpenCounts().clear();
}

}  // namespace testing
}  // namespace fw
