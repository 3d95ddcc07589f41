#include "game/MenuBar1.h"

#include <array>

#include "fw/runtime/Runtime.h"

namespace game {
namespace {

enum class ItemClass { Item, Quit, Apple };

struct MenuRow {
    const char* parent;  // nullptr for an entry of the bar itself
    const char* name;
    ItemClass itemClass;
    const char* text;
    const char* shortcut;  // nullptr: never set (the separator)
};

// The menu tree in the order it is built.
constexpr std::array<MenuRow, 14> kMenuRows = {{
    {nullptr, "UntitledMenu1", ItemClass::Item, "", ""},
    {nullptr, "FileMenu", ItemClass::Item, "ファイル(&F)", ""},
    {"FileMenu", "FileQuit", ItemClass::Quit, "終了(&X)", "Cmd+Q"},
    {"FileMenu", "UntitledMenu5", ItemClass::Item, "", ""},
    {nullptr, "EditMenu", ItemClass::Item, "編集(&E)", ""},
    {"EditMenu", "EditUndo", ItemClass::Item, "取り消し", "Cmd+Z"},
    {"EditMenu", "UntitledMenu0", ItemClass::Item, "-", nullptr},
    {"EditMenu", "EditCut", ItemClass::Item, "カット", "Cmd+X"},
    {"EditMenu", "EditCopy", ItemClass::Item, "コピー", "Cmd+C"},
    {"EditMenu", "EditPaste", ItemClass::Item, "貼り付け", "Cmd+V"},
    {"EditMenu", "EditClear", ItemClass::Item, "クリア", ""},
    {"EditMenu", "UntitledMenu4", ItemClass::Item, "", ""},
    {"EditMenu", "UntitledMenu3", ItemClass::Apple, "", ""},
    {nullptr, "UntitledMenu2", ItemClass::Item, "", ""},
}};

fw::Ref<fw::MenuItem> NewItem(ItemClass itemClass) {
    fw::Ref<fw::MenuItem> item;
    switch (itemClass) {
        case ItemClass::Item:
            item = fw::RuntimeNewObject<fw::MenuItem>();
            break;
        case ItemClass::Quit:
            item = fw::RuntimeNewObject<fw::QuitMenuItem>();
            break;
        case ItemClass::Apple:
            item = fw::RuntimeNewObject<fw::AppleMenuItem>();
            break;
    }
    item->Constructor();
    return item;
}

// Builds rows [first, last] onto the bar. The parent of an item is looked up afresh on the bar
// for every item, by its name.
void BuildRows(fw::MenuBar& bar, size_t first, size_t last) {
    for (size_t i = first; i <= last; ++i) {
        const MenuRow& row = kMenuRows[i];
        fw::Ref<fw::MenuItem> item = NewItem(row.itemClass);
        item->SetName(row.name);
        item->SetAutoEnable(true);
        item->SetText(row.text);
        item->SetVisible(true);
        if (row.shortcut != nullptr) {
            item->SetKeyboardShortcut(row.shortcut);
        }
        if (row.parent == nullptr) {
            bar.Append(item);
        } else {
            bar.Child(row.parent)->Append(item);
        }
    }
}

}  // namespace

fw::Ref<MenuBar1> MenuBar1::_implicitInstance;

fw::Ref<MenuBar1> MenuBar1::Instance() {
    if (_implicitInstance.IsNil()) {
        // Stored only once built, so a failed build leaves the global nil and the next call
        // builds a new bar.
        fw::Ref<MenuBar1> bar = fw::RuntimeNewObject<MenuBar1>();
        bar->Constructor();
        _implicitInstance = bar;
    }
    return _implicitInstance;
}

void MenuBar1::Constructor() {
    Untitled0();
    Untitled1();
    Untitled2();
    Untitled3();
}

void MenuBar1::Untitled0() {
    BuildRows(*this, 0, 0);
}

void MenuBar1::Untitled1() {
    BuildRows(*this, 1, 3);
}

void MenuBar1::Untitled2() {
    BuildRows(*this, 4, 12);
}

void MenuBar1::Untitled3() {
    BuildRows(*this, 13, 13);
}

}  // namespace game
