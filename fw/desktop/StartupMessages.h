#pragma once

// Private to the framework: what Qt says while the QApplication is being made. When Qt cannot
// start a display platform it ends the process (a fatal message, then abort); one line naming
// what failed for each platform tried, with Qt's reason, and exit status 1 take the place of
// Qt's lines of those platforms and the abort. What Qt said of no platform (before it tried one),
// and otherwise all that Qt said, goes out as Qt gave it.
namespace fw::detail {

// Holds every message Qt gives from now until ReleaseQtStartMessages, except where the
// environment makes Qt end the process at a warning or a critical (QT_FATAL_WARNINGS,
// QT_FATAL_CRITICALS, read as Qt reads them): a held message would die with it, so every message
// then goes out at once.
void HoldQtStartMessages();

// Ends the holding and passes the held messages on. With dropFailedPlatforms (the program chose
// the platforms, and one after the first started), what Qt and the platforms said while each
// platform that failed before it was tried is dropped: the player asked for none of them.
void ReleaseQtStartMessages(bool dropFailedPlatforms);

}  // namespace fw::detail
