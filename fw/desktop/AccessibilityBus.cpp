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

// Connects to an accessibility bus and, where it answers, has the registry answer a ping there:
// the bridge registers the program with the registry and waits for its reply. The bus starts
// the registry when nobody runs it yet, as it would for the bridge.
BusOutcome ReachRegistry(const std::string& address, BusDeadline deadline) {
    BusClient accessibilityBus;
    const BusOutcome connected = accessibilityBus.Connect(address, deadline);
    if (connected != BusOutcome::kAnswered) {
        return connected;
    }
    return accessibilityBus
        .Call("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root",
              "org.freedesktop.DBus.Peer", "Ping", {}, StartDestination::kYes, deadline)
        .outcome;
}

// The accessibility bus's address as the launcher on the session bus gives it, where the bridge
// would ask for it; empty where it would not. Nothing when a step is silent.
std::optional<std::string> LaunchedAddress(const std::string& session, bool alwaysOn,
                                           BusDeadline deadline) {
    BusClient sessionBus;
    const BusOutcome connected = sessionBus.Connect(session, deadline);
    if (Silent(connected)) {
        return std::nullopt;
    }
    if (connected != BusOutcome::kAnswered) {
        return std::string();
    }
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

std::optional<std::string> Decide(const AccessibilityBusPlaces& places, BusDeadline deadline) {
    const std::optional<std::string> off = kNoAccessibilityBus;
    if (!places.accessibilityAddress.empty()) {
        return Silent(ReachRegistry(places.accessibilityAddress, deadline)) ? off : std::nullopt;
    }
    const std::string session = SessionBusAddress(places.sessionAddress, places.runtimeFolder);
    if (session.empty()) {
        return off;
    }
    const std::optional<std::string> launched = LaunchedAddress(session, places.alwaysOn, deadline);
    if (!launched) {
        return off;
    }
    for (const std::string& address : {*launched, places.rootWindowAddress}) {
        if (!address.empty() && Silent(ReachRegistry(address, deadline))) {
            return off;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> AccessibilityBusOverride(const AccessibilityBusPlaces& places,
                                                    BusDeadline deadline) {
    try {
        return Decide(places, deadline);
    } catch (...) {
        return kNoAccessibilityBus;  // out of memory: better no screen readers than a wait
    }
}

}  // namespace fw::detail
