#include "fw/detail/QtStart.h"

#include <QApplication>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fw/ProgramName.h"
#include "fw/detail/AccessibilityBus.h"
#include "fw/detail/DisplayPlatform.h"
#include "fw/detail/X11Properties.h"

namespace fw::detail {
namespace {

// Qt keeps references to the argument count and vector for the application's lifetime, so they
// live here: the program name, the platform the program chose, if it did, and the null that ends
// the vector.
int gArgc = 1;
char gPlatformOption[] = "-platform";
char* gArgv[] = {nullptr, nullptr, nullptr, nullptr};

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

// What Qt says while the QApplication is being made is held back. When Qt cannot start its
// platform it ends the process (a fatal message, then abort); one line naming each display that
// was tried, with Qt's reason, and exit status 1 take the place of Qt's lines and the abort.
// Otherwise the held messages go out as Qt gave them.
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

// Qt tries the platforms of its list in turn. Each one that does not start is ended by a line of
// Qt's own naming it: "Could not find the Qt platform plugin" when it is not installed, "Could not
// load" when it would not start; what the plugin said before that line is why.
constexpr QLatin1StringView kPlatformNotFound("Could not find the Qt platform plugin \"");
constexpr QLatin1StringView kPlatformNotLoaded("Could not load the Qt platform plugin \"");

// The platform that a held message says did not start, or nothing.
std::optional<QString> PlatformThatFailed(const HeldMessage& held) {
    if (held.category != "qt.qpa.plugin") {
        return std::nullopt;
    }
    for (const QLatin1StringView opening : {kPlatformNotFound, kPlatformNotLoaded}) {
        if (held.text.startsWith(opening)) {
            const qsizetype from = opening.size();
            return held.text.mid(from, held.text.indexOf(u'"', from) - from);
        }
    }
    return std::nullopt;
}

// The one line that takes the place of Qt's when no platform started: each platform tried, with
// the display it could not open and Qt's reason; a platform that is not installed is named with
// Qt's words for that.
std::string NoPlatformLine(const QString& fatalText) {
    std::string line = std::string(ProgramName()) + ": ";
    QStringList reasons;
    bool first = true;
    for (const HeldMessage& held : gHeld) {
        const std::optional<QString> platform = PlatformThatFailed(held);
        if (!platform) {
            if (held.type != QtDebugMsg && held.type != QtInfoMsg) {
                reasons.append(held.text.trimmed());
            }
            continue;
        }
        const bool installed = held.text.startsWith(kPlatformNotLoaded);
        if (!installed || reasons.isEmpty()) {
            reasons = {held.text.trimmed()};
        }
        const std::string name = platform->toStdString();
        line += (first ? "" : "; ") +
                (installed ? CannotOpenDisplay(name) : CannotStartPlatform(name)) + ": " +
                reasons.join(QLatin1String("; ")).toStdString();
        reasons.clear();
        first = false;
    }
    if (first) {
        line += "cannot start: " + fatalText.section(u'\n', 0, 0).toStdString();
    }
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

// Where the program chose the platforms and one after the first started, what Qt said of those
// before it is dropped: the player asked for none of them.
void DropWhatFailedBefore() {
    const auto last = std::find_if(gHeld.rbegin(), gHeld.rend(), [](const HeldMessage& held) {
        return PlatformThatFailed(held).has_value();
    });
    gHeld.erase(gHeld.begin(), last.base());
}

std::optional<std::string> Copy(const char* text) {
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

const char* Pointer(const std::optional<std::string>& text) {
    return text ? text->c_str() : nullptr;
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) noexcept {
    if (type == QtFatalMsg) {
        try {
            std::fprintf(stderr, "%s\n", NoPlatformLine(text).c_str());
        } catch (...) {
            std::fprintf(stderr, "%s: cannot start the display platform\n", ProgramName());
        }
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
    static std::string fallbackName = ProgramName();
    gArgv[0] = argv != nullptr && argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName.data();
    static std::string platform;
    if (const char* chosen = ChosenDisplayPlatform()) {
        platform = chosen;
        gArgv[1] = gPlatformOption;
        gArgv[2] = platform.data();
        gArgc = 3;
    }
    KeepQtOffTheSessionBus();
    gPassEverythingOn = !qEnvironmentVariableIsEmpty("QT_FATAL_WARNINGS") ||
                        !qEnvironmentVariableIsEmpty("QT_FATAL_CRITICALS");
    gPassOn = qInstallMessageHandler(&HoldMessage);
    auto* app = new QApplication(gArgc, gArgv);
    qInstallMessageHandler(gPassOn);
    if (!platform.empty()) {
        DropWhatFailedBefore();
    }
    ReleaseHeldMessages();
    KeepTheAccessibilityBridgeOffSilentBuses();
    return app;
}

}  // namespace fw::detail
