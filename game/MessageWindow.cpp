#include "game/MessageWindow.h"

#include "fw/runtime/Runtime.h"
#include "fw/ui/Event.h"
#include "game/ResultWindowDeclarations.h"
#include "game/SetProperties.h"

namespace game {

fw::Ref<MessageWindow> MessageWindow::Instance() {
    fw::Ref<fw::Window> open = fw::Window::_GetImplicitWindow(kClassName);
    if (open) {
        return fw::Cast<MessageWindow>(open);
    }
    fw::Ref<MessageWindow> created = fw::RuntimeNewObject<MessageWindow>();
    created->Constructor();
    return created;
}

void MessageWindow::Layout() {
    _SetProperties(*this, ResultWindowPropertyList());
}

void MessageWindow::CreateControls() {
    _CreateControls0();
}

void MessageWindow::_CreateControls0() {
    {
        fw::Ref<fw::Label> label = __New<fw::Label>();
        label->Constructor();
        _AddControl("Message", label);
    }
    _SetProperties(*fw::Cast<fw::Label>(_ControlByName("Message")), MessageLabelPropertyList());
    {
        fw::Ref<fw::PushButton> button = __New<fw::PushButton>();
        button->Constructor();
        _AddControl("OKButton", button);
    }
    _SetProperties(*fw::Cast<fw::PushButton>(_ControlByName("OKButton")), OKButtonPropertyList());
    fw::RuntimeAddEventHandler(*fw::Cast<fw::PushButton>(_ControlByName("OKButton")),
                               fw::kActionEvent,
                               fw::RuntimeCreateDelegate(this, &MessageWindow::OKButton_Action));
}

fw::Ref<fw::Label> MessageWindow::Message() {
    return fw::Cast<fw::Label>(_ControlByName("Message"));
}

fw::Ref<fw::PushButton> MessageWindow::OKButton() {
    return fw::Cast<fw::PushButton>(_ControlByName("OKButton"));
}

void MessageWindow::OKButton_Action(fw::Ref<fw::PushButton> /*sender*/) {
    // The one open result window is the one whose button was pressed.
    Instance()->Close();
}

}  // namespace game
