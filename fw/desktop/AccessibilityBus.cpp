#include "fw/desktop/AccessibilityBus.h"

#include "fw/desktop/BusAddress.h"

namespace fw::detail {
namespace {

constexpr const char* kLauncher = "org.a11y.Bus";
constexpr const char* kLauncherPath = "/org/a11y/bus";
constexpr const char* kStatus = "org.a11y.Status";

bool Silent(BusOutcome outcome) {
    return outcome == BusOutcome::kSilent;
}

// Connects to an accessibility bus and, where it answers, makes the bridge's first call to the
// registry there, which reads what events screen readers listen for: a reply shows that the
// registry itself answers, not only its bus. The bus starts the registry when nobody runs it
// yet, as it would for the bridge.
BusOutcome ReachRegistry(const std::string& address, BusConnections& buses, BusDeadline deadline) {
    const BusConnections::Connection bus = buses.Connect(address, deadline);
    if (bus.client == nullptr) {
        return bus.outcome;
    }
    return bus.client
        ->Call("org.a11y.atspi.Registry", "/org/a11y/atspi/registry", "org.a11y.atspi.Registry",
               "GetRegisteredEvents", {}, StartDestination::kYes, deadline)
        .outcome;
}

// The accessibility bus's address as the launcher on the session bus gives it, where the bridge
// would ask for it; empty where it would not. Nothing when a step is silent.
std::optional<std::string> LaunchedAddress(const std::string& session, bool alwaysOn,
                                           BusConnections& buses, BusDeadline deadline) {
    const BusConnections::Connection connected = buses.Connect(session, deadline);
    if (Silent(connected.outcome)) {
        return std::nullopt;
    }
    if (connected.client == nullptr) {
        return std::string();
    }
    BusClient& sessionBus = *connected.client;
    const BusClient::Reply owned =
        sessionBus.Call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                        "NameHasOwner", {kLauncher}, StartDestination::kNo, deadline);
    if (Silent(owned.outcome)) {
        return std::nullopt;
    }
    if (!owned.boolean) {
        return std::string();
    }
    // The bridge reads both of the launcher's switches, waiting for each, unless told to be on.
    bool on = alwaysOn;
    for (const char* property : {"ScreenReaderEnabled", "IsEnabled"}) {
        if (on) {
            break;
        }
        const BusClient::Reply value =
            sessionBus.Call(kLauncher, kLauncherPath, "org.freedesktop.DBus.Properties", "Get",
                            {kStatus, property}, StartDestination::kNo, deadline);
        if (Silent(value.outcome)) {
            return std::nullopt;
        }
        on = value.outcome == BusOutcome::kAnswered && value.boolean;
    }
    if (!on) {
        return std::string();
    }
    const BusClient::Reply address = sessionBus.Call(
        kLauncher, kLauncherPath, kLauncher, "GetAddress", {}, StartDestination::kNo, deadline);
    if (Silent(address.outcome)) {
        return std::nullopt;
    }
    return address.text;
}

std::optional<std::string> Decide(const AccessibilityBusPlaces& places, BusConnections& buses,
                                  BusDeadline deadline) {
    const std::optional<std::string> off = kNoAccessibilityBus;
    if (!places.accessibilityAddress.empty()) {
        return Silent(ReachRegistry(places.accessibilityAddress, buses, deadline)) ? off
                                                                                   : std::nullopt;
    }
    const std::string session = SessionBusAddress(places.sessionAddress, places.runtimeFolder);
    if (session.empty()) {
        return off;
    }
    const std::optional<std::string> launched =
        LaunchedAddress(session, places.alwaysOn, buses, deadline);
    if (!launched) {
        return off;
    }
    // On most desktops both name one bus, whose registry is asked once.
    const std::string& root = places.rootWindowAddress;
    for (const std::string& address : {*launched, root == *launched ? std::string() : root}) {
        if (!address.empty() && Silent(ReachRegistry(address, buses, deadline))) {
            return off;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> AccessibilityBusOverride(const AccessibilityBusPlaces& places,
                                                    BusConnections& buses, BusDeadline deadline) {
    try {
        return Decide(places, buses, deadline);
    } catch (...) {
        return kNoAccessibilityBus;  // out of memory: better no screen readers than a wait
    }
}

}  // namespace fw::detail
