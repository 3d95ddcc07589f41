#include "fw/ui/TextEdit.h"

#include <QWidget>

#include "fw/core/Thread.h"

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
    CheckUIThread();
    if (Widget() == nullptr) {
        return text_;
    }
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
    ChangeLook(border_, on);
}

void TextEdit::SetTextColor(Color color) {
    CheckUIThread();
    ChangeLook(textColor_, color);
}

void TextEdit::SetBackColor(Color color) {
    CheckUIThread();
    ChangeLook(backColor_, color);
}

void TextEdit::SetReadOnly(bool on) {
    CheckUIThread();
    ChangeLook(readOnly_, on);
}

void TextEdit::SetLimitText(int64_t limit) {
    CheckUIThread();
    ChangeLook(limitText_, limit);
}

void TextEdit::SetAcceptTabs(bool on) {
    CheckUIThread();
    ChangeLook(acceptTabs_, on);
}

void TextEdit::SetAlignment(int64_t alignment) {
    CheckUIThread();
    ChangeLook(alignment_, alignment);
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
