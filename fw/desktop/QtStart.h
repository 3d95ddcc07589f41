#pragma once

#include "fw/desktop/DisplayPreference.h"

// Private to the framework: how the runtime makes the process's QApplication.
class QApplication;

namespace fw::detail {

// Makes the process's QApplication, which lives until the process ends. Qt is given the program
// name from argv[0] and, on a Wayland session, the display platforms in the order preference
// gives; nothing else, so the program takes no command-line options, Qt's own included. Qt's
// environment variables still apply, QT_QPA_PLATFORM first. Qt does not wait on a desktop bus: it
// asks for no desktop-wide menu, no library may start a session bus where there is none, and the
// IBus input method and the accessibility bridge are each left out for the run where a bus they
// would wait on does not answer within one deadline. When no display platform starts, prints one
// line naming what failed for each platform, with Qt's reason, and ends the process with
// status 1.
QApplication* StartQt(int argc, char** argv, DisplayPreference preference);

}  // namespace fw::detail
