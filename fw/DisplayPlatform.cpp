#include "fw/detail/DisplayPlatform.h"

#include <cstdlib>
#include <cstring>

namespace fw::detail {
namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

// Left to itself, Qt tries Wayland first wherever a Wayland session is announced, even with X
// beside it, and where its Wayland plugin is not installed it says so on standard error before it
// falls back to X. The game prefers X where X is there: it then starts the same whether or not
// the Wayland plugin is installed; the desktop's own window manager draws its title bars, where
// on Wayland Qt draws its own on compositors that draw none (GNOME's among them); and X is where
// the end-to-end tests play whole games. If X does not answer, Wayland is tried next. Without X,
// Wayland is the only display there is, so Qt is not sent on to an X that cannot be reached.
const char* ChosenDisplayPlatform() noexcept {
    if (IsSet("QT_QPA_PLATFORM")) {
        return nullptr;
    }
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool wayland =
        IsSet("WAYLAND_DISPLAY") || (session != nullptr && std::strcmp(session, "wayland") == 0);
    if (!wayland) {
        return nullptr;
    }
    return IsSet("DISPLAY") ? "xcb;wayland" : "wayland";
}

std::string CannotOpenDisplay(std::string_view platform) {
    const char* variable = nullptr;
    const char* kind = "";
    if (platform == "xcb") {
        variable = "DISPLAY";
    } else if (platform.substr(0, 7) == "wayland") {
        variable = "WAYLAND_DISPLAY";
        kind = "Wayland ";
    }
    if (variable == nullptr) {
        return CannotStartPlatform(platform);
    }
    if (!IsSet(variable)) {
        return std::string("no ") + kind + "display (" + variable + " is not set)";
    }
    return std::string("cannot open the ") + kind + "display \"" + std::getenv(variable) + "\"";
}

std::string CannotStartPlatform(std::string_view platform) {
    return "cannot start the display platform \"" + std::string(platform) + "\"";
}

}  // namespace fw::detail
