#include "fw/core/Rect.h"

namespace fw {

Ref<Rect> Rect::Create(int64_t left, int64_t top, int64_t width, int64_t height) {
    return Ref<Rect>(new Rect(left, top, width, height));
}

}  // namespace fw
