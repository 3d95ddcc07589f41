#pragma once

#include "fw/desktop/DisplayPreference.h"

// Private to the framework: how the runtime makes the process's QApplication.
class QApplication;

namespace fw::detail {

// Makes the process's QApplication, which lives until the process ends. Qt is given the program
// name from argv[0] and, on a Wayland session, the display platforms in the order preference
// gives; nothing else, so the program takes no command-line options, Qt's own included. Qt's
// environment variables still apply, QT_QPA_PLATFORM first. Qt does not wait on a desktop bus: it
// asks for no desktop-wide menu, and each bus or service it would wait on at start (the session
// bus, IBus's bus or portal for the IBus input method, the accessibility bus and its registry)
// is tried first with Qt's own first call there, within a budget of half a second for each
// feature. Qt is handed what answered (the session bus's address, IBus's address file; the
// accessibility bridge asks the same launcher for its bus); where one is silent, or start-up
// cannot be sure what Qt would connect to, that feature is left out for the run, and without a
// session bus to use, no library may start one. A session bus address of "autolaunch:", set by
// hand, is the one exception: it asks for a bus started for the display, which is meant to
// outlive the program, and Qt is left to start it. When no display platform starts, prints one
// line naming what failed for each platform, with Qt's reason, and ends the process with
// status 1.
QApplication* StartQt(int argc, char** argv, DisplayPreference preference);

}  // namespace fw::detail
