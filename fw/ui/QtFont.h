#pragma once

#include <QFont>

#include "fw/ui/Font.h"

namespace fw::detail {

// The Qt font that shows a declared font: the mapped family, the size in pixels (the original
// platform's 72-dpi points are pixels), bold, italic and underline.
QFont QtFontFor(const DeclaredFont& declared);

}  // namespace fw::detail
