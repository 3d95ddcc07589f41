#pragma once

#include <string>

// Private to the framework: properties of windows on X that Qt does not set as the program needs.
class QWidget;

namespace fw::detail {

// The text of the root window's property of that name, as the display's first screen has it: its
// bytes, in whatever format (8, 16 or 32 bits a unit) it is stored; empty when the program is not
// on X, the property is not set, or it is not of the type STRING.
std::string RootWindowText(const char* property);

// On X, Qt never leaves a window nameless: for an empty title it names the window after the
// program, and window managers show that name in the title bar. For a window whose title is
// empty this writes both names a window manager reads (WM_NAME and _NET_WM_NAME) as empty
// again. It does nothing on other platforms and for a widget that has no native window yet.
void EmptyX11WindowNames(const QWidget& window) noexcept;

}  // namespace fw::detail
