#pragma once

#include <string>
#include <string_view>

// Private to the framework: which display platform Qt is asked to start, and what each one opens.
namespace fw::detail {

// The platform list that Qt is given when the user names none (QT_QPA_PLATFORM empty), or null
// to leave the choice to Qt. On a Wayland session with X beside it, X comes first and Wayland is
// the fall-back; on a Wayland session without X, Wayland alone.
const char* ChosenDisplayPlatform() noexcept;

// Names the display that a platform could not open, as the environment gave it to that platform:
// `cannot open the display ":5"`, `no Wayland display (WAYLAND_DISPLAY is not set)`; for a
// platform that opens no named display, as CannotStartPlatform does.
std::string CannotOpenDisplay(std::string_view platform);

// `cannot start the display platform "name"`: for a platform that is not installed, or that opens
// no named display.
std::string CannotStartPlatform(std::string_view platform);

}  // namespace fw::detail
