#pragma once

class QWidget;

namespace fw {

class MenuBar;
class MenuItem;

namespace detail {

// Gives window the menu widgets of bar: a QMenuBar inside the window, shown only when visible is
// true, with a QMenu per top-level entry and a QAction per item. Every item action is also added
// to the window itself (window-wide shortcut), so shortcuts work while the bar is hidden.
// Installing again replaces the previous bar; a null bar just removes it. The widgets hold only
// handles on the items, never a reference: the items live as long as their tree does, and an
// action whose item has gone does nothing. A null window raises NilObjectException.
void InstallMenuBar(QWidget* window, MenuBar* bar, bool visible);

// The menu bar widget that InstallMenuBar put into window, or null (for tests and the window).
QWidget* InstalledMenuBar(QWidget* window);

// Runs what choosing item does, through fw::Dispatch, holding a reference to the item for the
// call. The menu actions and MenuItem::Trigger both come here.
void ChooseMenuItem(MenuItem& item) noexcept;

}  // namespace detail
}  // namespace fw
