// The main window's layout: its menu bar and window properties, the creation of its 45 controls
// from their declared property lists, the wiring of their events, and the accessors through
// which every handler reaches a control by name.
#include <array>

#include "fw/runtime/Runtime.h"
#include "fw/ui/Event.h"
#include "game/CardCanvases.h"
#include "game/DeclaredValues.h"
#include "game/KarutaWindow.h"
#include "game/MainWindowDeclarations.h"
#include "game/MenuBar1.h"
#include "game/SetProperties.h"

namespace game {
namespace {

// The window's own timer class; it adds nothing to the framework's timer.
class _wrapper_MyTimer : public fw::Timer {
public:
    const char* ClassName() const noexcept override { return "KarutaWindow._wrapper_MyTimer"; }
};

// One event of one control (or of every member of a set) bound to its handler.
struct EventWiring {
    const char* control;
    int event;
    fw::Ref<fw::Delegate> (*bind)(KarutaWindow* window);
};

// In the order in which each control's events are wired.
constexpr std::array<EventWiring, 11> kWiring = {{
    {"CardCanvas", fw::kOpenEvent,
     [](KarutaWindow* w) { return fw::RuntimeCreateDelegate(w, &KarutaWindow::CardCanvas_Open); }},
    {"CardCanvas", fw::kPaintEvent,
     [](KarutaWindow* w) { return fw::RuntimeCreateDelegate(w, &KarutaWindow::CardCanvas_Paint); }},
    {"FudaCanvas", fw::kMouseDownEvent,
     [](KarutaWindow* w) {
         return fw::RuntimeCreateDelegate(w, &KarutaWindow::FudaCanvas_MouseDown);
     }},
    {"FudaCanvas", fw::kOpenEvent,
     [](KarutaWindow* w) { return fw::RuntimeCreateDelegate(w, &KarutaWindow::FudaCanvas_Open); }},
    {"FudaCanvas", fw::kPaintEvent,
     [](KarutaWindow* w) { return fw::RuntimeCreateDelegate(w, &KarutaWindow::FudaCanvas_Paint); }},
    {"ScoreFiled", fw::kOpenEvent,
     [](KarutaWindow* w) { return fw::RuntimeCreateDelegate(w, &KarutaWindow::ScoreFiled_Open); }},
    {"TotalScoreField", fw::kOpenEvent,
     [](KarutaWindow* w) {
         return fw::RuntimeCreateDelegate(w, &KarutaWindow::TotalScoreField_Open);
     }},
    {"MyTimer", fw::kTimerActionEvent,
     [](KarutaWindow* w) { return fw::RuntimeCreateDelegate(w, &KarutaWindow::MyTimer_Action); }},
    {"StartButton", fw::kActionEvent,
     [](KarutaWindow* w) {
         return fw::RuntimeCreateDelegate(w, &KarutaWindow::StartButton_Action);
     }},
    {"KaisuField", fw::kOpenEvent,
     [](KarutaWindow* w) { return fw::RuntimeCreateDelegate(w, &KarutaWindow::KaisuField_Open); }},
    {"HighScoreField", fw::kOpenEvent,
     [](KarutaWindow* w) {
         return fw::RuntimeCreateDelegate(w, &KarutaWindow::HighScoreField_Open);
     }},
}};

template <class C>
fw::Ref<fw::Control> NewPlainControl(KarutaWindow& window) {
    fw::Ref<C> control = window.__New<C>();
    control->Constructor();
    return control;
}

template <class C>
fw::Ref<fw::Control> NewSetMember(KarutaWindow& window, int64_t index) {
    fw::Ref<C> member = window.__New<C>();
    member->Constructor(index);
    return member;
}

// Makes the control object of a declaration and runs its constructor.
fw::Ref<fw::Control> NewControl(KarutaWindow& window, const ControlDeclaration& d) {
    switch (d.kind) {
        case ControlKind::CardCanvas:
            return NewSetMember<game::CardCanvas>(window, d.index);
        case ControlKind::FudaCanvas:
            return NewSetMember<game::FudaCanvas>(window, d.index);
        case ControlKind::Canvas:
            return NewPlainControl<fw::Canvas>(window);
        case ControlKind::Label:
            return NewPlainControl<fw::Label>(window);
        case ControlKind::TextField:
            return NewPlainControl<fw::TextField>(window);
        case ControlKind::TextArea:
            return NewPlainControl<fw::TextArea>(window);
        case ControlKind::Listbox:
            return NewPlainControl<fw::Listbox>(window);
        case ControlKind::PushButton:
            return NewPlainControl<fw::PushButton>(window);
        case ControlKind::Separator:
            return NewPlainControl<fw::Separator>(window);
        case ControlKind::Timer:
            return NewPlainControl<_wrapper_MyTimer>(window);
    }
    throw fw::RuntimeException("unknown control kind");
}

// The control registered for a declaration, cast to the class it is declared as: the set
// members and MyCanvas as Canvas, the timer as Timer, every other control as its own class.
fw::Ref<fw::Control> DeclaredControl(KarutaWindow& window, const ControlDeclaration& d) {
    fw::Ref<fw::Control> found = d.index == declare::kNoIndex
                                     ? window._ControlByName(d.name)
                                     : window._ControlByNameIndex(d.name, d.index);
    switch (d.kind) {
        case ControlKind::CardCanvas:
        case ControlKind::FudaCanvas:
        case ControlKind::Canvas:
            return fw::Cast<fw::Canvas>(found);
        case ControlKind::Label:
            return fw::Cast<fw::Label>(found);
        case ControlKind::TextField:
            return fw::Cast<fw::TextField>(found);
        case ControlKind::TextArea:
            return fw::Cast<fw::TextArea>(found);
        case ControlKind::Listbox:
            return fw::Cast<fw::Listbox>(found);
        case ControlKind::PushButton:
            return fw::Cast<fw::PushButton>(found);
        case ControlKind::Separator:
            return fw::Cast<fw::Separator>(found);
        case ControlKind::Timer:
            return fw::Cast<fw::Timer>(found);
    }
    throw fw::RuntimeException("unknown control kind");
}

// The menu item of that name anywhere in the tree below root, or nil.
fw::Ref<fw::MenuItem> FindMenuItem(const fw::MenuItem& root, std::string_view name) {
    for (int64_t i = 0; i < root.Count(); ++i) {
        fw::Ref<fw::MenuItem> item = root.Item(i);
        if (item->Name() == name) {
            return item;
        }
        if (fw::Ref<fw::MenuItem> found = FindMenuItem(*item, name)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

void KarutaWindow::Layout() {
    SetMenuBar(MenuBar1::Instance());
    _SetProperties(*this, MainWindowPropertyList());
}

void KarutaWindow::CreateControls() {
    _CreateControls0();
    _CreateControls1();
}

void KarutaWindow::_CreateControls0() {
    for (const ControlDeclaration& d : MainWindowControls().first(kFirstCreationHalf)) {
        CreateControl(d);
    }
}

void KarutaWindow::_CreateControls1() {
    for (const ControlDeclaration& d : MainWindowControls().subspan(kFirstCreationHalf)) {
        CreateControl(d);
    }
}

void KarutaWindow::CreateControl(const ControlDeclaration& d) {
    _AddControl(d.name, NewControl(*this, d));
    _SetProperties(*DeclaredControl(*this, d), d.propertyList());
    WireEvents(d);
}

void KarutaWindow::WireEvents(const ControlDeclaration& d) {
    for (const EventWiring& wiring : kWiring) {
        if (std::string_view(wiring.control) == d.name) {
            fw::Ref<fw::Control> control = DeclaredControl(*this, d);
            fw::RuntimeAddEventHandler(*control, wiring.event, wiring.bind(this));
        }
    }
}

// ---- Control accessors ------------------------------------------------------------------

template <class C>
fw::Ref<C> KarutaWindow::ControlNamed(const char* name) {
    return fw::Cast<C>(_ControlByName(name));
}

// The set accessors pass the index to the framework's lookup unchecked; callers pass 0 to 9.
fw::Ref<fw::Canvas> KarutaWindow::CardCanvas(int64_t index) {
    return fw::Cast<fw::Canvas>(_ControlByNameIndex("CardCanvas", index));
}
fw::Ref<fw::Canvas> KarutaWindow::FudaCanvas(int64_t index) {
    return fw::Cast<fw::Canvas>(_ControlByNameIndex("FudaCanvas", index));
}

fw::Ref<fw::Label> KarutaWindow::StaticText1() {
    return ControlNamed<fw::Label>("StaticText1");
}
fw::Ref<fw::Label> KarutaWindow::StaticText2() {
    return ControlNamed<fw::Label>("StaticText2");
}
fw::Ref<fw::Label> KarutaWindow::StaticText3() {
    return ControlNamed<fw::Label>("StaticText3");
}
fw::Ref<fw::TextField> KarutaWindow::ScoreFiled() {
    return ControlNamed<fw::TextField>("ScoreFiled");
}
fw::Ref<fw::Label> KarutaWindow::StaticText4() {
    return ControlNamed<fw::Label>("StaticText4");
}
fw::Ref<fw::TextField> KarutaWindow::TotalScoreField() {
    return ControlNamed<fw::TextField>("TotalScoreField");
}
fw::Ref<fw::Label> KarutaWindow::StaticText5() {
    return ControlNamed<fw::Label>("StaticText5");
}
fw::Ref<fw::TextField> KarutaWindow::TimeField() {
    return ControlNamed<fw::TextField>("TimeField");
}
fw::Ref<fw::Timer> KarutaWindow::MyTimer() {
    return ControlNamed<fw::Timer>("MyTimer");
}
fw::Ref<fw::Separator> KarutaWindow::Separator1() {
    return ControlNamed<fw::Separator>("Separator1");
}
fw::Ref<fw::PushButton> KarutaWindow::StartButton() {
    return ControlNamed<fw::PushButton>("StartButton");
}
fw::Ref<fw::TextArea> KarutaWindow::OdaiField() {
    return ControlNamed<fw::TextArea>("OdaiField");
}
fw::Ref<fw::Listbox> KarutaWindow::ListBox1() {
    return ControlNamed<fw::Listbox>("ListBox1");
}
fw::Ref<fw::Listbox> KarutaWindow::ListBox2() {
    return ControlNamed<fw::Listbox>("ListBox2");
}
fw::Ref<fw::Listbox> KarutaWindow::ListBox3() {
    return ControlNamed<fw::Listbox>("ListBox3");
}
fw::Ref<fw::Listbox> KarutaWindow::ListBox4() {
    return ControlNamed<fw::Listbox>("ListBox4");
}
fw::Ref<fw::Label> KarutaWindow::StaticText6() {
    return ControlNamed<fw::Label>("StaticText6");
}
fw::Ref<fw::TextField> KarutaWindow::KaisuField() {
    return ControlNamed<fw::TextField>("KaisuField");
}
fw::Ref<fw::Label> KarutaWindow::StaticText7() {
    return ControlNamed<fw::Label>("StaticText7");
}
fw::Ref<fw::Label> KarutaWindow::StaticText8() {
    return ControlNamed<fw::Label>("StaticText8");
}
fw::Ref<fw::TextField> KarutaWindow::HighScoreField() {
    return ControlNamed<fw::TextField>("HighScoreField");
}
fw::Ref<fw::Label> KarutaWindow::ShogoText() {
    return ControlNamed<fw::Label>("ShogoText");
}
fw::Ref<fw::Separator> KarutaWindow::Separator2() {
    return ControlNamed<fw::Separator>("Separator2");
}
fw::Ref<fw::TextArea> KarutaWindow::MyField() {
    return ControlNamed<fw::TextArea>("MyField");
}
fw::Ref<fw::Canvas> KarutaWindow::MyCanvas() {
    return ControlNamed<fw::Canvas>("MyCanvas");
}

// ---- Menu-item accessors: no rule of the game calls them -----------------------------------

template <class C>
fw::Ref<C> KarutaWindow::MenuItemNamed(const char* name) {
    return fw::Cast<C>(FindMenuItem(*MenuBar(), name));
}

fw::Ref<fw::MenuItem> KarutaWindow::UntitledMenu2() {
    return MenuItemNamed<fw::MenuItem>("UntitledMenu2");
}
fw::Ref<fw::MenuItem> KarutaWindow::EditMenu() {
    return MenuItemNamed<fw::MenuItem>("EditMenu");
}
fw::Ref<fw::AppleMenuItem> KarutaWindow::UntitledMenu3() {
    return MenuItemNamed<fw::AppleMenuItem>("UntitledMenu3");
}
fw::Ref<fw::MenuItem> KarutaWindow::UntitledMenu4() {
    return MenuItemNamed<fw::MenuItem>("UntitledMenu4");
}
fw::Ref<fw::MenuItem> KarutaWindow::EditClear() {
    return MenuItemNamed<fw::MenuItem>("EditClear");
}
fw::Ref<fw::MenuItem> KarutaWindow::EditPaste() {
    return MenuItemNamed<fw::MenuItem>("EditPaste");
}
fw::Ref<fw::MenuItem> KarutaWindow::EditCopy() {
    return MenuItemNamed<fw::MenuItem>("EditCopy");
}
fw::Ref<fw::MenuItem> KarutaWindow::EditCut() {
    return MenuItemNamed<fw::MenuItem>("EditCut");
}
fw::Ref<fw::MenuItem> KarutaWindow::UntitledMenu0() {
    return MenuItemNamed<fw::MenuItem>("UntitledMenu0");
}
fw::Ref<fw::MenuItem> KarutaWindow::EditUndo() {
    return MenuItemNamed<fw::MenuItem>("EditUndo");
}
fw::Ref<fw::MenuItem> KarutaWindow::FileMenu() {
    return MenuItemNamed<fw::MenuItem>("FileMenu");
}
fw::Ref<fw::MenuItem> KarutaWindow::UntitledMenu5() {
    return MenuItemNamed<fw::MenuItem>("UntitledMenu5");
}
fw::Ref<fw::QuitMenuItem> KarutaWindow::FileQuit() {
    return MenuItemNamed<fw::QuitMenuItem>("FileQuit");
}
fw::Ref<fw::MenuItem> KarutaWindow::UntitledMenu1() {
    return MenuItemNamed<fw::MenuItem>("UntitledMenu1");
}

}  // namespace game
