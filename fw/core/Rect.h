#pragma once

#include <cstdint>

#include "fw/core/Object.h"

namespace fw {

// A rectangle in the coordinates of the control it belongs to; a Paint event hands its handler
// the areas to repaint as Rects.
class Rect : public Object {
public:
    static Ref<Rect> Create(int64_t left = 0, int64_t top = 0, int64_t width = 0,
                            int64_t height = 0);

    int64_t Left() const noexcept { return left_; }
    int64_t Top() const noexcept { return top_; }
    int64_t Width() const noexcept { return width_; }
    int64_t Height() const noexcept { return height_; }
    void SetLeft(int64_t value) noexcept { left_ = value; }
    void SetTop(int64_t value) noexcept { top_ = value; }
    void SetWidth(int64_t value) noexcept { width_ = value; }
    void SetHeight(int64_t value) noexcept { height_ = value; }

    const char* ClassName() const noexcept override { return "Rect"; }

private:
    Rect(int64_t left, int64_t top, int64_t width, int64_t height) noexcept
        : left_(left), top_(top), width_(width), height_(height) {}

    int64_t left_;
    int64_t top_;
    int64_t width_;
    int64_t height_;
};

}  // namespace fw
