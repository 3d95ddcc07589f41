#include "fw/desktop/QtStart.h"

#include <QApplication>

#include <chrono>
#include <optional>
#include <string>

#include "fw/core/ProgramName.h"
#include "fw/desktop/AccessibilityBus.h"
#include "fw/desktop/BusAddress.h"
#include "fw/desktop/BusConnections.h"
#include "fw/desktop/DisplayPlatform.h"
#include "fw/desktop/InputMethodBus.h"
#include "fw/desktop/StartupMessages.h"
#include "fw/desktop/X11Properties.h"

namespace fw::detail {
namespace {

using Clock = std::chrono::steady_clock;

// Qt keeps references to the argument count and vector for the application's lifetime, so they
// live here: the program name, the platform the program chose, if it did, and the null that ends
// the vector.
int gArgc = 1;
char gPlatformOption[] = "-platform";
char* gArgv[] = {nullptr, nullptr, nullptr, nullptr};

// How long each desktop service may take to answer before it counts as silent and its feature
// is left out for the run: one that works answers at once, and the window must still show
// within a second with every service silent.
constexpr std::chrono::milliseconds kServicePatience{500};

// A session bus address that every D-Bus library takes as it is and that refuses a connection at
// once: /dev/null is never a socket.
constexpr const char* kNoSessionBus = "unix:path=/dev/null";

std::string Variable(const char* name) {
    return qgetenv(name).toStdString();
}

// Keeps Qt off the session bus where it would wait or start one, before the QApplication exists,
// and hands it the bus that was tried. Elsewhere than macOS the menu bar lives in the window
// (hidden, for its shortcuts): asked for a desktop-wide menu, Qt looks for one over the session
// bus at the first menu bar, so it is never asked. The GTK theme that Qt loads on a GNOME desktop
// would bring GTK's own accessibility bridge, which looks for its bus with calls that wait; no
// GTK widget is ever shown, so it has nothing to tell a screen reader and is never loaded. Where
// there is no session bus to use, a D-Bus library that looked for one (GLib's, which GTK brings,
// or Qt's) would start one for the display, which would outlive the program, or wait on one that
// is silent: every library is given an address that refuses at once instead.
void HandQtTheSessionBus(const std::string& sessionBus) {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    qputenv("NO_AT_BRIDGE", "1");
    qputenv("DBUS_SESSION_BUS_ADDRESS",
            QByteArray::fromStdString(sessionBus.empty() ? kNoSessionBus : sessionBus));
}

// The session bus's address as a client would find it, where the bus answers or refuses at once;
// empty where there is none, or where it is silent or cannot be tried, as Qt must then not use it.
std::string UsableSessionBus(const AccessibilityBusPlaces& places, BusConnections& buses,
                             Clock::time_point start) {
    try {
        std::string address = SessionBusAddress(places.sessionAddress, places.runtimeFolder);
        if (!address.empty() &&
            buses.Connect(address, start + kServicePatience).outcome == BusOutcome::kSilent) {
            address.clear();
        }
        return address;
    } catch (...) {
        return {};  // out of memory: better no session bus than a wait
    }
}

// Qt loads the input method that QT_IM_MODULE names while the QApplication is being made; IBus's
// connects to IBus and waits as long as IBus stays silent. Where it is silent, the platform's own
// input handling takes its place for this run: typing still works, without IBus.
void ChooseTheInputMethod(const std::string& sessionBus, BusConnections& buses) {
    InputMethodChoice choice;
    choice.leaveOut = true;  // out of memory: better no IBus than a wait
    try {
        choice = ChooseInputMethod(InputMethodEnvironment::OfThisProcess(sessionBus), buses,
                                   Clock::now() + kServicePatience);
    } catch (...) {
    }
    if (choice.leaveOut) {
        qunsetenv("QT_IM_MODULE");
    } else if (choice.addressFile) {
        qputenv("IBUS_ADDRESS_FILE", QByteArray::fromStdString(*choice.addressFile));
    }
}

// Qt's accessibility bridge starts at the first widget and looks for the accessibility bus with
// calls that wait as long as a bus stays silent. Each of those is tried first with a deadline;
// where one is silent the bridge is given an address that leads nowhere at once, which leaves
// screen readers out for this run rather than the window never answering.
void ChooseTheAccessibilityBus(AccessibilityBusPlaces places, BusConnections& buses,
                               BusDeadline deadline) {
    places.rootWindowAddress = RootWindowText("AT_SPI_BUS");
    if (const std::optional<std::string> address =
            AccessibilityBusOverride(places, buses, deadline)) {
        qputenv("AT_SPI_BUS_ADDRESS", QByteArray::fromStdString(*address));
    }
}

}  // namespace

QApplication* StartQt(int argc, char** argv, DisplayPreference preference) {
    static std::string fallbackName = ProgramName();
    gArgv[0] = argv != nullptr && argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName.data();
    static std::string platform;
    if (const char* chosen =
            ChosenDisplayPlatform(DisplayEnvironment::OfThisProcess(), preference)) {
        platform = chosen;
        gArgv[1] = gPlatformOption;
        gArgv[2] = platform.data();
        gArgc = 3;
    }
#ifndef Q_OS_MACOS
    // Read before start-up changes the environment for Qt.
    const AccessibilityBusPlaces accessibility{
        Variable("AT_SPI_BUS_ADDRESS"),
        Variable("DBUS_SESSION_BUS_ADDRESS"),
        Variable("XDG_RUNTIME_DIR"),
        {},
        qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")};
    // The connections of the check, each bus's made once for every feature that uses it; what
    // they left on the buses goes when they close, once start-up is done.
    BusConnections buses;
    // The session bus's time counts against the accessibility bridge, its usual user; the time
    // Qt takes to start is not counted.
    const auto sessionStart = Clock::now();
    const std::string sessionBus = UsableSessionBus(accessibility, buses, sessionStart);
    const auto sessionSpent = Clock::now() - sessionStart;
    HandQtTheSessionBus(sessionBus);
    ChooseTheInputMethod(sessionBus, buses);
#endif
    HoldQtStartMessages();
    auto* app = new QApplication(gArgc, gArgv);
    ReleaseQtStartMessages(/*dropFailedPlatforms=*/!platform.empty());
#ifndef Q_OS_MACOS
    ChooseTheAccessibilityBus(accessibility, buses, Clock::now() + kServicePatience - sessionSpent);
#endif
    return app;
}

}  // namespace fw::detail
