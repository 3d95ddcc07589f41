#include "fw/pictures/Picture.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QSize>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <span>
#include <utility>

#include "fw/core/FaultPoint.h"
#include "fw/core/ProgramName.h"
#include "fw/core/RegularFile.h"
#include "fw/pictures/PngPicture.h"
#include "fw/pictures/RefusedFiles.h"

namespace fw {
namespace {

// Pictures are kept premultiplied: the raster painter draws that format without converting it
// first, so a paint costs one scaled blit and nothing else.
constexpr QImage::Format kDrawFormat = QImage::Format_ARGB32_Premultiplied;

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

std::function<void(const std::string&)>& ReportSink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

// Says once per run for each reason, on standard error, that the file at path gives no picture
// and why. A program may ask again and again (the game at every deal); its user needs to hear
// of a broken file once, not every time, and of a file that went on to fail for another reason
// (short of memory at first, broken later) again.
void ReportRefusal(const std::string& path, PictureRefusal refusal) noexcept {
    static std::set<std::pair<std::string, PictureRefusal>> reported;
    try {
        // The line is made before the reason is marked as said, so that a line there was no
        // memory for is said at the next refusal instead.
        const std::string line = std::string(ProgramName()) + ": picture " + path +
                                 " cannot be shown: " + Describe(refusal);
        if (!reported.emplace(path, refusal).second) {
            return;
        }
        if (ReportSink()) {
            ReportSink()(line);
        } else {
            std::fprintf(stderr, "%s\n", line.c_str());
        }
    } catch (const std::bad_alloc&) {
        // No memory even for the line: the game plays on without it.
    }
}

// Qt says that it had no memory for a new image by giving a null one. Its allocations are out of
// the program's reach, so a fault point stands in for them.
template <typename Make>
QImage NewImage(Make make) {
    return FaultInjected("Picture.NewImage") ? QImage() : make();
}

// The decoded pixels in the format pictures are drawn from, a copy of their own. A picture
// larger than it is ever drawn is kept at the largest size it can be shown at, so that what a
// program keeps of it stays small whatever the files hold. Null when memory runs short.
QImage ForDrawing(const QImage& decoded, int side) {
    QImage image = NewImage([&] { return decoded.convertToFormat(kDrawFormat); });
    const int kSide = std::max(side, 1);
    if (!image.isNull() && (image.width() > kSide || image.height() > kSide)) {
        // A thin picture keeps at least one pixel across.
        const QSize kept =
            image.size().scaled(kSide, kSide, Qt::KeepAspectRatio).expandedTo({1, 1});
        image = NewImage([&] {
            return image.scaled(kept, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(kDrawFormat);
        });
    }
    return image;
}

PictureRefusal RefusalFor(FileReadFailure failure) {
    switch (failure) {
        case FileReadFailure::kNone:
            return PictureRefusal::kNone;
        case FileReadFailure::kMissing:
            return PictureRefusal::kMissing;
        case FileReadFailure::kUnreadable:
            return PictureRefusal::kUnreadable;
        case FileReadFailure::kNotRegularFile:
            return PictureRefusal::kNotRegularFile;
        case FileReadFailure::kOverByteCap:
            return PictureRefusal::kOverByteCap;
    }
    return PictureRefusal::kUnreadable;
}

// Reads and decodes one file. Every way the file can fail to be a picture ends in a null image
// and a reason; nothing here raises. identity is the file read, once it could be looked at.
QImage DecodeFile(const std::string& path, const PictureLimits& limits, PictureRefusal& refusal,
                  std::optional<FileIdentity>& identity) noexcept {
    try {
        FileBytes file = ReadRegularFile(path, limits.maxFileBytes);
        identity = file.identity;
        if (file.failure != FileReadFailure::kNone) {
            refusal = RefusalFor(file.failure);
            return {};
        }
        const RgbaPicture decoded = DecodePng(std::span(file.bytes), limits);
        if (decoded.refusal != PictureRefusal::kNone) {
            refusal = decoded.refusal;
            return {};
        }
        // The decoded bytes are only looked at: the conversion makes the picture's own copy.
        const int width = static_cast<int>(decoded.width);
        const bool sixteenBit = decoded.channelBytes == 2;
        const QImage rgba(decoded.pixels.data(), width, static_cast<int>(decoded.height),
                          width * 4 * static_cast<int>(decoded.channelBytes),
                          sixteenBit ? QImage::Format_RGBA64 : QImage::Format_RGBA8888);
        QImage image = ForDrawing(rgba, limits.maxKeptSide);
        if (image.isNull()) {
            refusal = PictureRefusal::kOutOfMemory;  // Qt's way of saying so
        }
        return image;
    } catch (const std::bad_alloc&) {
        refusal = PictureRefusal::kOutOfMemory;  // for the file's bytes, its pixels or an image
        return {};
    }
}

// The file that a load of name reads, or nothing for a name that leads to no file.
std::optional<std::string> PathOf(const std::string& name) {
    if (!IsPlainFileName(name)) {
        return std::nullopt;
    }
    const QString folder = ResourcesFolder();
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(folder).toStdString() + '/' + name;
}

// The picture in the file at path, ready to draw, or a null image once the file is refused and
// reported.
QImage Load(const std::string& path, const PictureLimits& limits) {
    if (const std::optional<PictureRefusal> refused = StillRefused(path, limits)) {
        ReportRefusal(path, *refused);
        return {};
    }
    PictureRefusal refusal = PictureRefusal::kNone;
    std::optional<FileIdentity> identity;
    QImage image = DecodeFile(path, limits, refusal, identity);
    if (image.isNull()) {
        if (identity) {
            RememberRefusal(path, *identity, limits, refusal);
        }
        ReportRefusal(path, refusal);
    }
    return image;
}

// Says that a load of name ran short of memory, naming its file as every other refusal does.
void ReportShortage(const std::string& name) noexcept {
    try {
        if (const std::optional<std::string> path = PathOf(name)) {
            ReportRefusal(*path, PictureRefusal::kOutOfMemory);
        }
    } catch (const std::bad_alloc&) {
        // Still no memory, for the name of the file this time: the game plays on without it.
    }
}

}  // namespace

Picture::Picture(QImage image) : image_(std::make_unique<QImage>(std::move(image))) {}

Picture::~Picture() = default;

// A shortage of memory anywhere in a load, from counting the call to making the picture, ends
// it like any other refusal: the card stays blank and the game goes on.
Ref<Picture> Picture::_OpenFromApp(const std::string& name, const PictureLimits& limits) {
    try {
        ++OpenCounts()[name];
        FaultPoint("Picture._OpenFromApp");
        const std::optional<std::string> path = PathOf(name);
        if (!path) {
            return nullptr;
        }
        QImage image = Load(*path, limits);
        if (image.isNull()) {
            return nullptr;
        }
        Ref<Picture> picture(new Picture(std::move(image)));
        ForgetRefusal(*path);
        return picture;
    } catch (const std::bad_alloc&) {
        ReportShortage(name);
        return nullptr;
    }
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

void SetPictureReportSink(std::function<void(const std::string&)> sink) {
    ReportSink() = std::move(sink);
}

}  // namespace testing
}  // namespace fw
