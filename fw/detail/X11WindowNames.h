#pragma once

// Private to the framework: the names a window manager on X shows for a window.
class QWidget;

namespace fw::detail {

// On X, Qt never leaves a window nameless: for an empty title it names the window after the
// program, and window managers show that name in the title bar. For a window whose title is
// empty this writes both names a window manager reads (WM_NAME and _NET_WM_NAME) as empty
// again. It does nothing on other platforms and for a widget that has no native window yet.
void EmptyX11WindowNames(const QWidget& window) noexcept;

}  // namespace fw::detail
