#include "fw/TextEdit.h"

#include <QWidget>

#include "fw/Thread.h"

namespace fw {

const PropertyTable<TextEdit>& TextEdit::Properties() {
    using T = TextEdit;
    static const auto table = PropertyTable<TextEdit>::Inherit(FontControl::Properties())
                                  .Add("Border", &T::Border, &T::SetBorder)
                                  .Add("UseFocusRing", &T::UseFocusRing, &T::SetUseFocusRing)
                                  .Add("TextColor", &T::TextColor, &T::SetTextColor)
                                  .Add("BackColor", &T::BackColor, &T::SetBackColor)
                                  .Add("Format", &T::Format, &T::SetFormat)
                                  .Add("Text", &T::Text, &T::SetText)
                                  .Add("Mask", &T::Mask, &T::SetMask)
                                  .Add("ReadOnly", &T::ReadOnly, &T::SetReadOnly)
                                  .Add("LimitText", &T::LimitText, &T::SetLimitText)
                                  .Add("AcceptTabs", &T::AcceptTabs, &T::SetAcceptTabs)
                                  .Add("Alignment", &T::Alignment, &T::SetAlignment)
                                  .Add("AutomaticallyCheckSpelling", &T::AutomaticallyCheckSpelling,
                                       &T::SetAutomaticallyCheckSpelling)
                                  .Add("DataSource", &T::DataSource, &T::SetDataSource)
                                  .Add("DataField", &T::DataField, &T::SetDataField);
    return table;
}

std::string TextEdit::Text() const {
    if (Widget() == nullptr) {
        return text_;
    }
    CheckUIThread();
    return WidgetText();
}

void TextEdit::SetText(std::string text) {
    CheckUIThread();
    text_ = std::move(text);
    if (Widget() != nullptr) {
        ShowText(text_);
    }
}

void TextEdit::SetBorder(bool on) {
    CheckUIThread();
    border_ = on;
    Restyle();
}

void TextEdit::SetTextColor(Color color) {
    CheckUIThread();
    textColor_ = color;
    Restyle();
}

void TextEdit::SetBackColor(Color color) {
    CheckUIThread();
    backColor_ = color;
    Restyle();
}

void TextEdit::SetReadOnly(bool on) {
    CheckUIThread();
    readOnly_ = on;
    Restyle();
}

void TextEdit::SetLimitText(int64_t limit) {
    CheckUIThread();
    limitText_ = limit;
    Restyle();
}

void TextEdit::SetAcceptTabs(bool on) {
    CheckUIThread();
    acceptTabs_ = on;
    Restyle();
}

void TextEdit::SetAlignment(int64_t alignment) {
    CheckUIThread();
    alignment_ = alignment;
    Restyle();
}

void TextEdit::Restyle() {
    if (Widget() != nullptr) {
        ApplyLook();
    }
}

void TextEdit::WidgetCreated() {
    FontControl::WidgetCreated();
    ApplyLook();
    ShowText(text_);
}

void TextEdit::Unhook() {
    // What the player typed stays readable after the window has gone.
    if (Widget() != nullptr) {
        text_ = WidgetText();
    }
    FontControl::Unhook();
}

}  // namespace fw
