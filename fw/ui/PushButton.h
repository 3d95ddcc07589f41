#pragma once

#include <cstdint>
#include <string>

#include "fw/ui/FontControl.h"

namespace fw {

// A push button. Event: Action (void(Ref<PushButton>)), raised by a click, by Push, and by Return
// or Enter in the window when the button is the Default one (Escape when it is the Cancel one)
// and no focused control took the key.
class PushButton : public FontControl {
public:
    PushButton() = default;
    static Ref<PushButton> Create() { return MakeRef<PushButton>(); }

    // Shown as written; "&" marks the mnemonic.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);
    bool Default() const noexcept { return default_; }
    void SetDefault(bool on);
    bool Cancel() const noexcept { return cancel_; }
    void SetCancel(bool on) { cancel_ = on; }
    // The platform's bezel kind; every style is the toolkit's push button here.
    int64_t ButtonStyle() const noexcept { return buttonStyle_; }
    void SetButtonStyle(int64_t style) { buttonStyle_ = style; }

    // Raises Action as a click does, through the framework's dispatch: whatever escapes the
    // handler goes to the unhandled-exception routine. Does nothing once the window has closed.
    void Push();
    // Whether Return or Escape may press it now: it has a widget, shown and enabled.
    bool CanBePressed() const noexcept;

    const char* ClassName() const noexcept override { return "PushButton"; }

    FW_PROPERTY_TABLE(PushButton)

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    const std::type_info* EventSignature(int eventNumber) const override;

private:
    std::string caption_;
    bool default_ = false;
    bool cancel_ = false;
    int64_t buttonStyle_ = 0;
};

}  // namespace fw
