#pragma once

#include <optional>
#include <string>

#include "fw/desktop/BusConnections.h"

// Private to the framework: keeping Qt's accessibility bridge from waiting on a desktop bus that
// does not answer.
namespace fw::detail {

// Where the accessibility bridge would look for the accessibility bus, as the environment and
// the display give it.
struct AccessibilityBusPlaces {
    std::string accessibilityAddress;  // AT_SPI_BUS_ADDRESS; when set, the only place looked at
    std::string sessionAddress;        // DBUS_SESSION_BUS_ADDRESS
    std::string runtimeFolder;         // XDG_RUNTIME_DIR, whose "bus" is the session bus when
                                       // no address is given
    std::string rootWindowAddress;     // the X root window's AT_SPI_BUS, empty when none
    bool alwaysOn = false;             // QT_LINUX_ACCESSIBILITY_ALWAYS_ON: the bridge talks to
                                       // the accessibility bus whether or not a screen reader
                                       // asked for it
};

// The address "none:" leads nowhere at once: given as AT_SPI_BUS_ADDRESS it keeps the bridge off.
inline constexpr const char* kNoAccessibilityBus = "none:";

// What AT_SPI_BUS_ADDRESS must become for the run. The bridge would ask the session bus for the
// owner of "org.a11y.Bus", ask that owner whether screen readers are on and, if so, for the
// accessibility bus's address; it connects there and to the root window's address, and asks the
// accessibility registry on the bus it connected to which events screen readers listen for. Each
// of those is tried here first, on the calling thread and by the deadline, through buses, so that
// a bus reached two ways is asked once. Gives kNoAccessibilityBus where one of them is silent, or
// where there is no session bus (the program runs outside a desktop session); nothing where each
// answers or refuses at once. The bridge then finds the accessibility bus itself, from the
// launcher that was asked: given an address instead, Qt's bridge connects but never turns on.
std::optional<std::string> AccessibilityBusOverride(const AccessibilityBusPlaces& places,
                                                    BusConnections& buses, BusDeadline deadline);

}  // namespace fw::detail
