#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fw/core/Object.h"

namespace fw {

class MenuItem;

namespace detail {
// A non-owning handle on a menu item for the widgets that show it. The item clears it when it
// is destroyed, so a menu action that outlives its item does nothing instead of touching freed
// memory; the widgets never keep an item alive.
struct MenuItemHandle {
    MenuItem* item = nullptr;
};
}  // namespace detail

// One entry of a menu tree: the bar's top-level menus, their items and submenus. An item owns
// its children (they live as long as their parent holds them); the tree holds no Qt object, and
// the window that shows the tree builds its own menu widgets from it.
//
// Defaults of a new item: empty Name, Text and KeyboardShortcut, AutoEnable and Visible True.
// The caption "-" makes the item a separator; captions keep their "&" mnemonic markers.
class MenuItem : public Object {
public:
    MenuItem();
    ~MenuItem() override;

    // The default constructor the game runs after creating an item (RuntimeNewObject); the
    // framework has prepared everything in the C++ constructor already, so this only passes its
    // fault point. Subclasses that build a tree override it.
    virtual void Constructor();

    const std::string& Name() const noexcept { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& Text() const noexcept { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    // Shortcut text as declared ("Cmd+Q"); PlatformShortcut gives the key the platform uses.
    const std::string& KeyboardShortcut() const noexcept { return shortcut_; }
    void SetKeyboardShortcut(std::string shortcut) { shortcut_ = std::move(shortcut); }
    // An automatically enabled item is enabled whenever it is shown; one without it is disabled,
    // since nothing in this program enables items by hand.
    bool AutoEnable() const noexcept { return autoEnable_; }
    void SetAutoEnable(bool on) noexcept { autoEnable_ = on; }
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool on) noexcept { visible_ = on; }

    bool IsSeparator() const noexcept { return text_ == "-"; }

    // Adds item as the last child. A nil item raises NilObjectException; appending an item to
    // itself or to one of its own descendants raises RuntimeException (the tree would own
    // itself). An item that already has a parent is moved: it leaves its old parent first.
    void Append(Ref<MenuItem> item);
    // The first direct child with that name, or nil.
    Ref<MenuItem> Child(std::string_view name) const;
    int64_t Count() const noexcept { return static_cast<int64_t>(children_.size()); }
    // The child at index (from 0); outside 0..Count()-1 raises OutOfBoundsException.
    Ref<MenuItem> Item(int64_t index) const;
    // The item this one was appended to, or null.
    MenuItem* Parent() const noexcept { return parent_; }

    // Does what choosing the item does, exactly as when the player picks it from a menu or
    // presses its shortcut: through fw::Dispatch, so whatever escapes goes to the
    // unhandled-exception routine and never to the caller.
    void Trigger();

    const char* ClassName() const noexcept override { return "MenuItem"; }

    // The handle the menu widgets hold instead of the item (see MenuItemHandle).
    const std::shared_ptr<detail::MenuItemHandle>& _Handle() const noexcept { return handle_; }

    // The framework's response to choosing the item. A plain item does nothing, except the
    // standard edit items (named EditUndo, EditCut, EditCopy, EditPaste, EditClear), which act
    // on the focused text field or text area, if any. Runs inside Dispatch.
    virtual void _Choose();

private:
    std::string name_;
    std::string text_;
    std::string shortcut_;
    bool autoEnable_ = true;
    bool visible_ = true;
    MenuItem* parent_ = nullptr;
    std::vector<Ref<MenuItem>> children_;
    std::shared_ptr<detail::MenuItemHandle> handle_;
};

// A menu bar: a MenuItem whose children are the top-level menus.
class MenuBar : public MenuItem {
public:
    const char* ClassName() const noexcept override { return "MenuBar"; }
};

// The standard quit item: choosing it ends the application's event loop with exit code 0.
class QuitMenuItem : public MenuItem {
public:
    const char* ClassName() const noexcept override { return "QuitMenuItem"; }
    void _Choose() override;
};

// The item the platform places in its application menu (on macOS the menu named after the
// application); elsewhere it is an ordinary item where it was appended.
class AppleMenuItem : public MenuItem {
public:
    const char* ClassName() const noexcept override { return "AppleMenuItem"; }
};

// Turns a declared shortcut text into the portable key text Qt reads: the Command key ("Cmd",
// "Command") becomes "Ctrl", which Qt maps to Command on macOS and to Control elsewhere;
// "Option" ("Opt") becomes "Alt". Empty stays empty; any other text passes through unchanged.
std::string PlatformShortcut(std::string_view text);

}  // namespace fw
