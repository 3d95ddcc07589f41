#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fw/desktop/DisplayPreference.h"

// Private to the framework: which display platform Qt is asked to start, and what each one opens.
namespace fw::detail {

// What the environment says of the displays there are.
struct DisplayEnvironment {
    std::string qtPlatform;   // QT_QPA_PLATFORM
    std::string sessionType;  // XDG_SESSION_TYPE
    // WAYLAND_DISPLAY, null where it is not set: Qt tries Wayland wherever it is set, even empty.
    std::optional<std::string> waylandDisplay;
    std::string display;  // DISPLAY

    static DisplayEnvironment OfThisProcess();
};

// The platform list that Qt is given, or null to leave the choice to Qt: where the user named
// none (QT_QPA_PLATFORM empty) and Qt would try Wayland (a Wayland session, or WAYLAND_DISPLAY
// set, even empty), both platforms in the order the program prefers when X runs beside it, and
// Wayland alone without X (Qt would otherwise go on to an X that cannot be reached, and name that
// as the failure).
const char* ChosenDisplayPlatform(const DisplayEnvironment& environment,
                                  DisplayPreference preference) noexcept;

// Names the display that a platform could not open, as the environment gave it to that platform:
// `cannot open the display ":5"`, `no Wayland display (WAYLAND_DISPLAY is not set)`; for a
// platform that opens no named display, as CannotStartPlatform does.
std::string CannotOpenDisplay(std::string_view platform);

// `cannot start the display platform "name"`: for a platform that is not installed, that did not
// load, or that opens no named display.
std::string CannotStartPlatform(std::string_view platform);

}  // namespace fw::detail
