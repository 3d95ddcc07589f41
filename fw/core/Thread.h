#pragma once

namespace fw {

// Everything that touches a window or a control runs on the user-interface thread: the thread
// of the QApplication (or, before one exists, the first thread that asked).

// True on the user-interface thread.
bool IsUIThread() noexcept;

// Raises ThreadAccessingUIException when called from any other thread. Every operation the game
// calls that touches a widget, and every registration with a window, starts with it.
void CheckUIThread();

}  // namespace fw
