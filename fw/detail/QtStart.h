#pragma once

// Private to the framework: how the runtime makes the process's QApplication.
class QApplication;

namespace fw::detail {

// Makes the process's QApplication, which lives until the process ends. Qt is given the program
// name from argv[0] and nothing else, so the program takes no command-line options, Qt's own
// included; Qt's environment variables still apply. Qt does not wait on the session bus: it asks
// for no desktop-wide menu, and its accessibility bridge looks for no bus there unless the session
// bus answers at once. When Qt cannot open a display, prints one line naming it and ends the
// process with status 1.
QApplication* StartQt(int argc, char** argv);

}  // namespace fw::detail
