#include "fw/desktop/DisplayPlatform.h"

#include <cstdlib>

namespace fw::detail {
namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

DisplayEnvironment DisplayEnvironment::OfThisProcess() {
    const auto value = [](const char* variable) {
        const char* text = std::getenv(variable);
        return std::string(text != nullptr ? text : "");
    };
    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    return {value("QT_QPA_PLATFORM"), value("XDG_SESSION_TYPE"),
            waylandDisplay != nullptr ? std::optional<std::string>(waylandDisplay) : std::nullopt,
            value("DISPLAY")};
}

// Left to itself, Qt tries Wayland first wherever a Wayland session is announced or WAYLAND_DISPLAY
// is set, even to nothing, and says on standard error why Wayland did not start (its plugin is not
// installed, no compositor answers) before it falls back to X.
const char* ChosenDisplayPlatform(const DisplayEnvironment& environment,
                                  DisplayPreference preference) noexcept {
    if (!environment.qtPlatform.empty()) {
        return nullptr;
    }
    if (!environment.waylandDisplay && environment.sessionType != "wayland") {
        return nullptr;
    }
    if (environment.display.empty()) {
        return "wayland";
    }
    return preference == DisplayPreference::kX ? "xcb;wayland" : "wayland;xcb";
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
