#include "fw/ui/PushButton.h"

#include <QPushButton>

#include "fw/core/Thread.h"
#include "fw/ui/QtConvert.h"

namespace fw {

const PropertyTable<PushButton>& PushButton::Properties() {
    using P = PushButton;
    static const auto table = PropertyTable<PushButton>::Inherit(FontControl::Properties())
                                  .Add("Caption", &P::Caption, &P::SetCaption)
                                  .Add("Default", &P::Default, &P::SetDefault)
                                  .Add("Cancel", &P::Cancel, &P::SetCancel)
                                  .Add("ButtonStyle", &P::ButtonStyle, &P::SetButtonStyle);
    return table;
}

QWidget* PushButton::CreateWidget(QWidget* parent) {
    auto* button = new QPushButton(detail::ToQString(caption_), parent);
    // Only the window presses the default button on Return; a focused button still takes the
    // keys the platform presses buttons with (Space, on some desktops Return).
    button->setAutoDefault(false);
    button->setDefault(default_);
    QObject::connect(button, &QPushButton::clicked, button, [this] { Push(); });
    return button;
}

const std::type_info* PushButton::EventSignature(int eventNumber) const {
    return eventNumber == kActionEvent ? &typeid(void(Ref<PushButton>)) : nullptr;
}

void PushButton::SetCaption(std::string caption) {
    CheckUIThread();
    caption_ = std::move(caption);
    if (auto* button = static_cast<QPushButton*>(Widget())) {
        button->setText(detail::ToQString(caption_));
    }
}

void PushButton::SetDefault(bool on) {
    CheckUIThread();
    default_ = on;
    if (auto* button = static_cast<QPushButton*>(Widget())) {
        button->setDefault(on);
    }
}

void PushButton::Push() {
    CheckUIThread();
    if (IsUnhooked()) {
        return;  // its window has closed
    }
    Deliver([this] { RaiseEvent<void, Ref<PushButton>>(kActionEvent, Ref<PushButton>(this)); });
}

bool PushButton::CanBePressed() const noexcept {
    const QWidget* widget = Widget();
    return widget != nullptr && widget->isVisible() && widget->isEnabled();
}

}  // namespace fw
