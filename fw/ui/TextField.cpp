#include "fw/ui/TextField.h"

#include <QLineEdit>

#include "fw/core/Thread.h"
#include "fw/ui/QtConvert.h"

namespace fw {

const PropertyTable<TextField>& TextField::Properties() {
    using T = TextField;
    static const auto table = PropertyTable<TextField>::Inherit(TextEdit::Properties())
                                  .Add("Password", &T::Password, &T::SetPassword)
                                  .Add("CueText", &T::CueText, &T::SetCueText);
    return table;
}

QWidget* TextField::CreateWidget(QWidget* parent) {
    return new QLineEdit(parent);
}

const std::type_info* TextField::EventSignature(int eventNumber) const {
    return eventNumber == kOpenEvent ? &typeid(void(Ref<TextField>)) : nullptr;
}

void TextField::RaiseOpen() {
    RaiseEvent<void, Ref<TextField>>(kOpenEvent, Ref<TextField>(this));
}

std::string TextField::WidgetText() const {
    return detail::ToStdString(static_cast<QLineEdit*>(Widget())->text());
}

void TextField::ShowText(const std::string& text) {
    auto* edit = static_cast<QLineEdit*>(Widget());
    edit->setText(detail::ToQString(text));
    // A text longer than the field shows its beginning, as a label would, not its tail.
    edit->setCursorPosition(0);
}

void TextField::SetPassword(bool on) {
    CheckUIThread();
    ChangeLook(password_, on);
}

void TextField::SetCueText(std::string text) {
    CheckUIThread();
    ChangeLook(cueText_, std::move(text));
}

void TextField::ApplyLook() {
    auto* edit = static_cast<QLineEdit*>(Widget());
    edit->setFrame(Border());
    edit->setEchoMode(password_ ? QLineEdit::Password : QLineEdit::Normal);
    edit->setPlaceholderText(detail::ToQString(cueText_));
    edit->setReadOnly(ReadOnly());
    // QLineEdit's own default limit stands for "no limit".
    edit->setMaxLength(LimitText() > 0 ? detail::ToInt(LimitText()) : 32767);
    edit->setAlignment(detail::ToHorizontalAlignment(Alignment()) | Qt::AlignVCenter);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, detail::ToQColor(TextColor()));
    palette.setColor(QPalette::Base, detail::ToQColor(BackColor()));
    edit->setPalette(palette);
}

}  // namespace fw
