#pragma once

#include "fw/menus/Menu.h"

namespace game {

// The application's one menu bar: an untitled entry, the File menu with the quit item, the Edit
// menu, and another untitled entry. The program handles no menu command itself; quitting is the
// quit item's own behaviour.
class MenuBar1 : public fw::MenuBar {
public:
    // The implicit instance: builds the bar on first use and keeps it for the run.
    static fw::Ref<MenuBar1> Instance();
    // The module global behind Instance(); nil until the first use. The runtime's initialisers
    // and finalisers set it back to nil.
    static fw::Ref<MenuBar1> _implicitInstance;

    void Constructor() override;
    void Untitled0();
    void Untitled1();
    void Untitled2();
    void Untitled3();

    const char* ClassName() const noexcept override { return "MenuBar1"; }
};

}  // namespace game
