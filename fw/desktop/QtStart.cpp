#include "fw/desktop/QtStart.h"

#include <QApplication>

#include <chrono>
#include <optional>
#include <string>

#include "fw/core/ProgramName.h"
#include "fw/desktop/AccessibilityBus.h"
#include "fw/desktop/BusAddress.h"
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

// How long the desktop's buses may take, all together, to answer before they count as silent: a
// bus that works answers at once, and the window must still show within a second.
constexpr std::chrono::milliseconds kDesktopBusPatience{500};

// A session bus address that every D-Bus library takes as it is and that refuses a connection at
// once: /dev/null is never a socket.
constexpr const char* kNoSessionBus = "unix:path=/dev/null";

std::string Variable(const char* name) {
    return qgetenv(name).toStdString();
}

// Keeps Qt off the session bus where it would wait or start one, before the QApplication exists.
// Elsewhere than macOS the menu bar lives in the window (hidden, for its shortcuts): asked for a
// desktop-wide menu, Qt looks for one over the session bus at the first menu bar, so it is never
// asked. The GTK theme that Qt loads on a GNOME desktop would bring GTK's own accessibility
// bridge, which looks for its bus with calls that wait; no GTK widget is ever shown, so it has
// nothing to tell a screen reader and is never loaded. Where there is no session bus, a D-Bus
// library that looked for one (GLib's, which GTK brings, or Qt's) would start one for the
// display, and that bus would outlive the program: every library is given an address that
// refuses at once instead.
void KeepQtOffTheSessionBus(const std::string& sessionBus) {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    qputenv("NO_AT_BRIDGE", "1");
    if (sessionBus.empty()) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", kNoSessionBus);
    }
}

// Qt loads the input method that QT_IM_MODULE names while the QApplication is being made; IBus's
// connects to IBus's bus and waits as long as that stays silent. Where it is silent, the platform's
// own input handling takes its place for this run: typing still works, without IBus.
void KeepTheInputMethodOffASilentBus(const std::string& sessionBus, BusDeadline deadline) {
    bool silent = true;  // out of memory: better no IBus than a wait
    try {
        silent =
            InputMethodBusIsSilent(InputMethodEnvironment::OfThisProcess(sessionBus), deadline);
    } catch (...) {
    }
    if (silent) {
        qunsetenv("QT_IM_MODULE");
    }
}

// Qt's accessibility bridge starts at the first widget and looks for the accessibility bus with
// calls that wait as long as a bus stays silent. Each of those is tried first with a deadline,
// and where one is silent the bridge is given an address that leads nowhere at once, which
// leaves screen readers out for this run rather than the window never answering.
void KeepTheAccessibilityBridgeOffSilentBuses(AccessibilityBusPlaces places, BusDeadline deadline) {
    places.rootWindowAddress = RootWindowText("AT_SPI_BUS");
    if (const std::optional<std::string> address = AccessibilityBusOverride(places, deadline)) {
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
    const std::string sessionBus =
        SessionBusAddress(accessibility.sessionAddress, accessibility.runtimeFolder);
    KeepQtOffTheSessionBus(sessionBus);
    // Every bus is given what is left of one budget; the time Qt takes to start is not counted.
    const auto checkStart = Clock::now();
    KeepTheInputMethodOffASilentBus(sessionBus, checkStart + kDesktopBusPatience);
    const auto checkSpent = Clock::now() - checkStart;
#endif
    HoldQtStartMessages();
    auto* app = new QApplication(gArgc, gArgv);
    ReleaseQtStartMessages(/*dropFailedPlatforms=*/!platform.empty());
#ifndef Q_OS_MACOS
    KeepTheAccessibilityBridgeOffSilentBuses(accessibility,
                                             Clock::now() + kDesktopBusPatience - checkSpent);
#endif
    return app;
}

}  // namespace fw::detail
