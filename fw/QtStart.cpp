#include "fw/detail/QtStart.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fw/detail/AccessibilityBus.h"
#include "fw/detail/RootWindowProperty.h"

namespace fw::detail {
namespace {

// Qt keeps references to the argument count and vector for the application's lifetime, so they
// live here: the program name and the null that ends the vector.
int gArgc = 1;
char* gArgv[] = {nullptr, nullptr};

// How long the desktop's buses may take, all together, to answer before they count as silent. A
// bus that works answers in about a millisecond; the window must still show within a second.
constexpr std::chrono::milliseconds kDesktopBusPatience{500};

// A session bus address that every D-Bus library takes as it is and that refuses a connection at
// once: /dev/null is never a socket.
constexpr const char* kNoSessionBus = "unix:path=/dev/null";

// Keeps Qt from waiting on the desktop's buses, before the QApplication exists. Elsewhere than
// macOS the menu bar lives in the window (hidden, for its shortcuts): asked for a desktop-wide
// menu, Qt looks for one over the session bus at the first menu bar, so it is never asked. The
// GTK theme that Qt loads on a GNOME desktop would bring GTK's own accessibility bridge, which
// looks for its bus with calls that wait; no GTK widget is ever shown, so it has nothing to
// tell a screen reader and is never loaded. Where there is no session bus, a D-Bus library that
// looked for one (GLib's, which GTK brings, or Qt's) would start one for the display, and that bus
// would outlive the program: every library is given an address that refuses at once instead, and
// the accessibility bridge, which would find nothing there, stays off.
void KeepQtOffTheSessionBus() {
#ifndef Q_OS_MACOS
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    qputenv("NO_AT_BRIDGE", "1");
    if (SessionBusAddress(qgetenv("DBUS_SESSION_BUS_ADDRESS").toStdString(),
                          qgetenv("XDG_RUNTIME_DIR").toStdString())
            .empty()) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", kNoSessionBus);
        qputenv("AT_SPI_BUS_ADDRESS", kNoAccessibilityBus);
    }
#endif
}

// Qt's accessibility bridge starts at the first widget and looks for the accessibility bus with
// calls that wait as long as a bus stays silent: on the bus AT_SPI_BUS_ADDRESS names, or else on
// the session bus (starting one when there is none) and at the address the root window gives.
// Each of those is tried first with a deadline, and where one is silent, or there is no session
// bus, the bridge is given an address that leads nowhere at once, which leaves screen readers
// out for this run rather than the window never showing.
void KeepTheAccessibilityBridgeOffSilentBuses() {
#ifndef Q_OS_MACOS
    const AccessibilityBusPlaces places{qgetenv("AT_SPI_BUS_ADDRESS").toStdString(),
                                        qgetenv("DBUS_SESSION_BUS_ADDRESS").toStdString(),
                                        qgetenv("XDG_RUNTIME_DIR").toStdString(),
                                        RootWindowText("AT_SPI_BUS")};
    if (const std::optional<std::string> address =
            AccessibilityBusOverride(places, kDesktopBusPatience)) {
        qputenv("AT_SPI_BUS_ADDRESS", QByteArray::fromStdString(*address));
    }
#endif
}

// Names the display Qt could not open, as the environment gave it to the platform that tried:
// Wayland's own variable for Wayland, DISPLAY for X (which Qt starts when no platform is named).
// A platform that is not there at all is named instead.
std::string NoDisplayLine(bool platformMissing) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool wayland = platform.startsWith("wayland");
    if (platformMissing || (!platform.isEmpty() && !platform.startsWith("xcb") && !wayland)) {
        return "karuta: cannot start the display platform \"" +
               (platform.isEmpty() ? std::string("xcb") : platform.toStdString()) + "\"";
    }
    const char* variable = wayland ? "WAYLAND_DISPLAY" : "DISPLAY";
    const QByteArray display = qgetenv(variable);
    if (!display.isEmpty()) {
        return "karuta: cannot open the display \"" + display.toStdString() + "\"";
    }
    return std::string("karuta: no display (") + variable + " is not set)";
}

// What Qt says while the QApplication is being made is held back. When Qt cannot start its
// platform it ends the process (a fatal message, then abort); one line naming the display and
// exit status 1 take the place of Qt's lines and the abort. Otherwise the held messages go out
// as Qt gave them.
struct HeldMessage {
    QtMsgType type;
    std::optional<std::string> file;
    int line;
    std::optional<std::string> function;
    std::optional<std::string> category;
    QString text;
};
std::vector<HeldMessage> gHeld;
QtMessageHandler gPassOn = nullptr;
// Set when the environment makes Qt end the process at a warning (QT_FATAL_WARNINGS,
// QT_FATAL_CRITICALS): a held message would die with it, so every message goes out at once.
bool gPassEverythingOn = false;

// Whether Qt said that it has no plugin for the platform, rather than that the display is not
// there.
bool PlatformPluginMissing() {
    return std::any_of(gHeld.begin(), gHeld.end(), [](const HeldMessage& held) {
        return held.category == "qt.qpa.plugin" &&
               held.text.contains(QLatin1String("Could not find the Qt platform plugin"));
    });
}

std::optional<std::string> Copy(const char* text) {
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

const char* Pointer(const std::optional<std::string>& text) {
    return text ? text->c_str() : nullptr;
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) noexcept {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", NoDisplayLine(PlatformPluginMissing()).c_str());
        std::fflush(stderr);
        // Inside Qt's constructor: nothing may unwind or be torn down from here.
        std::_Exit(1);
    }
    if (gPassEverythingOn) {
        gPassOn(type, context, text);
        return;
    }
    try {
        gHeld.push_back({type, Copy(context.file), context.line, Copy(context.function),
                         Copy(context.category), text});
    } catch (...) {
        // Out of memory: the message is lost rather than thrown into Qt.
    }
}

void ReleaseHeldMessages() {
    for (const HeldMessage& held : gHeld) {
        const QMessageLogContext context(Pointer(held.file), held.line, Pointer(held.function),
                                         Pointer(held.category));
        qt_message_output(held.type, context, held.text);
    }
    gHeld.clear();
}

}  // namespace

QApplication* StartQt(int argc, char** argv) {
    static char fallbackName[] = "karuta";
    gArgv[0] = argv != nullptr && argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName;
    KeepQtOffTheSessionBus();
    gPassEverythingOn = !qEnvironmentVariableIsEmpty("QT_FATAL_WARNINGS") ||
                        !qEnvironmentVariableIsEmpty("QT_FATAL_CRITICALS");
    gPassOn = qInstallMessageHandler(&HoldMessage);
    auto* app = new QApplication(gArgc, gArgv);
    qInstallMessageHandler(gPassOn);
    ReleaseHeldMessages();
    KeepTheAccessibilityBridgeOffSilentBuses();
    return app;
}

}  // namespace fw::detail
