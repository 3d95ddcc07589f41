#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "fw/Object.h"

class QImage;

namespace fw {

// A decoded picture. Pictures are shared, never copied: a canvas that shows one holds a
// reference to the same object as the cache that loaded it.
class Picture : public Object {
public:
    // The file of that name in the application's resources folder (`resources/` beside the
    // executable), decoded by its content whatever its extension. Gives nil, and never raises
    // for that, when the file is missing, empty or not a readable picture, when its header
    // claims a picture larger than kMaxSide x kMaxSide, or when the name is empty or reaches
    // outside the folder (a path separator or "..").
    static Ref<Picture> _OpenFromApp(const std::string& name);

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

    // The largest side a loaded picture may have; larger pictures are refused before any pixel
    // memory is taken.
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

}  // namespace testing
}  // namespace fw
