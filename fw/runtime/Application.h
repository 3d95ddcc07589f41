#pragma once

#include "fw/core/Object.h"
#include "fw/menus/Menu.h"

namespace fw {

// The application object: one per run, created during start-up and held by the runtime
// (_RuntimeRegisterAppObject). The program's own application class derives from it.
class Application : public Object {
public:
    // The default constructor the program runs after creating the object; nothing to do here.
    virtual void Constructor() {}

    // The application's menu bar. On macOS it would be the desktop-wide bar; elsewhere every
    // window shows its own, and a window without one answers this bar's shortcuts (hidden).
    Ref<fw::MenuBar> MenuBar() const { return menuBar_; }
    void SetMenuBar(Ref<fw::MenuBar> bar);

    // Records that the program asks for high-resolution display support. Qt 6 is always
    // high-DPI aware, whatever this says, so nothing else changes.
    static void _SetSupportsHiDPI(bool on);
    static bool SupportsHiDPI() noexcept;

    const char* ClassName() const noexcept override { return "Application"; }

private:
    Ref<fw::MenuBar> menuBar_;
};

}  // namespace fw
