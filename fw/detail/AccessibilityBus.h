#pragma once

#include <chrono>
#include <optional>
#include <string>

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
};

// The address "none:" leads nowhere at once: given as AT_SPI_BUS_ADDRESS it keeps the bridge off.
inline constexpr const char* kNoAccessibilityBus = "none:";

// What AT_SPI_BUS_ADDRESS must become so that the bridge does not wait: kNoAccessibilityBus when
// a bus that the bridge would use is silent, or when there is no session bus (the bridge would
// start one, which would outlive the program); nothing when every bus it would use answers or
// refuses at once. The bridge would call the session bus, ask it for the owner of
// "org.a11y.Bus", ask that owner for the accessibility bus's address, and connect there and to
// the root window's address; each of those is tried here first, all within one budget.
//
// Never takes much longer than budget, whatever the buses or the addresses do: the looking runs
// on a thread of its own, which is left to finish alone if it overruns (a host name in a TCP
// address is looked up without a deadline); an overrun counts as silence.
std::optional<std::string> AccessibilityBusOverride(const AccessibilityBusPlaces& places,
                                                    std::chrono::milliseconds budget);

// The session bus address a client would use: address when set, else the "bus" socket of the
// runtime folder, as an address; empty when neither is there (a client would start a bus).
std::string SessionBusAddress(const std::string& address, const std::string& runtimeFolder);

}  // namespace fw::detail
