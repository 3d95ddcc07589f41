#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "fw/core/Object.h"
#include "fw/pictures/PictureLimits.h"

class QImage;

namespace fw {

// A decoded picture. Pictures are shared, never copied: a canvas that shows one holds a
// reference to the same object as the cache that loaded it.
class Picture : public Object {
public:
    // The file of that name in the application's resources folder (`resources/` beside the
    // executable), which must be a regular file holding a PNG picture, whatever its extension,
    // within limits. Gives nil, and never raises for that, when the name is empty or reaches
    // outside the folder (a path separator or ".."), or when the file is missing, unreadable, not
    // a regular file, longer than limits.maxFileBytes, not PNG, malformed, larger than limits
    // allow, or more costly to decode (RegularFile.h, PngPicture.h), or when memory runs short
    // anywhere in the load, from counting the call to making the picture. The first time a file
    // gives nil for each of the reasons after the name's, a line on standard error names it and
    // the reason. A file refused for what it holds stays refused at the cost of one look at it,
    // without being read, until it is seen to change (FileIdentity.h); one that could not be
    // read, or whose load ran short of memory, is tried again at the next call. A picture larger
    // than limits.maxKeptSide on either side is scaled down, smoothly and keeping its shape, to fit
    // a square of that side.
    static Ref<Picture> _OpenFromApp(const std::string& name, const PictureLimits& limits);

    // A blank (fully transparent) picture of that size; a side below 1 counts as 1 and one above
    // kMaxSide as kMaxSide.
    static Ref<Picture> Create(int64_t width, int64_t height);

    // A picture holding a copy of image, converted to the format that pictures are drawn from.
    // For the framework and its tests.
    static Ref<Picture> FromImage(const QImage& image);

    ~Picture() override;

    int64_t Width() const noexcept;
    int64_t Height() const noexcept;

    const char* ClassName() const noexcept override { return "Picture"; }

    // The pixels, already in the format that painting uses without conversion.
    const QImage& Image() const noexcept { return *image_; }

    // The largest side a created picture may have.
    static constexpr int64_t kMaxSide = 4096;

private:
    explicit Picture(QImage image);

    std::unique_ptr<QImage> image_;
};

namespace testing {

// Makes _OpenFromApp read from path instead of the folder beside the executable; an empty path
// goes back to that folder.
void SetResourcesFolder(const std::string& path);
// How often _OpenFromApp has been called with name since the last reset, whatever it gave.
int64_t OpenFromAppCount(const std::string& name);
void ResetOpenFromAppCounts();
// Hands each line that reports a refused picture file to sink instead of standard error; an
// empty sink goes back to standard error. A file is reported once per run for each reason
// either way.
void SetPictureReportSink(std::function<void(const std::string&)> sink);

}  // namespace testing
}  // namespace fw
