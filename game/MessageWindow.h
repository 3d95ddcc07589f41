#pragma once

#include "fw/ui/Label.h"
#include "fw/ui/PushButton.h"
#include "fw/ui/Window.h"

namespace game {

// The result window: a multi-line label with the end-of-game text and an OK button that closes
// the window. Modeless; at most one exists at a time, and nothing keeps it between events.
class MessageWindow : public fw::Window {
public:
    static constexpr const char* kClassName = "MessageWindow.MessageWindow";

    // The implicit instance: the open result window, or a new one, built and shown.
    static fw::Ref<MessageWindow> Instance();

    const char* ClassName() const noexcept override { return kClassName; }

    void Layout() override;
    void CreateControls() override;
    void _CreateControls0();
    fw::Ref<fw::Label> Message();
    fw::Ref<fw::PushButton> OKButton();
    void OKButton_Action(fw::Ref<fw::PushButton> sender);
};

}  // namespace game
