#include "fw/detail/QtStart.h"

#include <QApplication>

namespace fw::detail {
namespace {

// Qt keeps references to the argument count and vector for the application's lifetime, so they
// live here: the program name and the null that ends the vector.
int gArgc = 1;
char* gArgv[] = {nullptr, nullptr};

// Keeps Qt off the session bus. Elsewhere than macOS the menu bar lives in the window (hidden, for
// its shortcuts): asked for a desktop-wide menu, Qt looks for one over the session bus at the first
// menu bar. The accessibility bridge looks there for the accessibility bus at the first widget,
// unless AT_SPI_BUS_ADDRESS names that bus. Either look starts a bus when there is none
// (dbus-launch) and waits for a bus that does not answer, so the window would show late or never.
// The bridge is therefore given an address that leads nowhere at once, unless the environment names
// one: screen readers reach the program only through a bus named there.
void KeepOffTheSessionBus() {
#ifndef Q_OS_MACOS
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
#endif
    if (!qEnvironmentVariableIsSet("AT_SPI_BUS_ADDRESS")) {
        qputenv("AT_SPI_BUS_ADDRESS", "none:");
    }
}

}  // namespace

QApplication* StartQt(int argc, char** argv) {
    static char fallbackName[] = "karuta";
    gArgv[0] = argv != nullptr && argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName;
    KeepOffTheSessionBus();
    return new QApplication(gArgc, gArgv);
}

}  // namespace fw::detail
