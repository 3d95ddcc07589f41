#include "fw/ui/TextArea.h"

#include <QTextOption>

#include "fw/core/Thread.h"
#include "fw/ui/QtConvert.h"
#include "fw/ui/TextAreaWidget.h"

namespace fw {

const PropertyTable<TextArea>& TextArea::Properties() {
    using T = TextArea;
    static const auto table =
        PropertyTable<TextArea>::Inherit(TextEdit::Properties())
            .Add("Multiline", &T::Multiline, &T::SetMultiline)
            .Add("ScrollbarHorizontal", &T::ScrollbarHorizontal, &T::SetScrollbarHorizontal)
            .Add("ScrollbarVertical", &T::ScrollbarVertical, &T::SetScrollbarVertical)
            .Add("Styled", &T::Styled, &T::SetStyled)
            .Add("HideSelection", &T::HideSelection, &T::SetHideSelection)
            .Add("LineHeight", &T::LineHeight, &T::SetLineHeight)
            .Add("LineSpacing", &T::LineSpacing, &T::SetLineSpacing);
    return table;
}

QWidget* TextArea::CreateWidget(QWidget* parent) {
    return new detail::TextAreaWidget(parent);
}

const std::type_info* TextArea::EventSignature(int eventNumber) const {
    return eventNumber == kOpenEvent ? &typeid(void(Ref<TextArea>)) : nullptr;
}

void TextArea::RaiseOpen() {
    RaiseEvent<void, Ref<TextArea>>(kOpenEvent, Ref<TextArea>(this));
}

std::string TextArea::WidgetText() const {
    return detail::LfToCr(static_cast<detail::TextAreaWidget*>(Widget())->toPlainText());
}

void TextArea::ShowText(const std::string& text) {
    static_cast<detail::TextAreaWidget*>(Widget())->setPlainText(detail::CrToLf(text));
}

void TextArea::SetMultiline(bool on) {
    CheckUIThread();
    ChangeLook(multiline_, on);
}

void TextArea::SetScrollbarHorizontal(bool on) {
    CheckUIThread();
    ChangeLook(scrollbarHorizontal_, on);
}

void TextArea::SetScrollbarVertical(bool on) {
    CheckUIThread();
    ChangeLook(scrollbarVertical_, on);
}

void TextArea::ApplyLook() {
    auto* area = static_cast<detail::TextAreaWidget*>(Widget());
    area->SetReturnBreaksLine(multiline_);
    area->setFrameShape(Border() ? QFrame::StyledPanel : QFrame::NoFrame);
    area->setReadOnly(ReadOnly());
    area->setTabChangesFocus(!AcceptTabs());
    area->setVerticalScrollBarPolicy(scrollbarVertical_ ? Qt::ScrollBarAsNeeded
                                                        : Qt::ScrollBarAlwaysOff);
    area->setHorizontalScrollBarPolicy(scrollbarHorizontal_ ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
    // With a horizontal scroll bar long lines run on; without one they wrap.
    area->setLineWrapMode(scrollbarHorizontal_ ? QPlainTextEdit::NoWrap
                                               : QPlainTextEdit::WidgetWidth);
    QTextOption option = area->document()->defaultTextOption();
    option.setAlignment(detail::ToHorizontalAlignment(Alignment()));
    area->document()->setDefaultTextOption(option);
    // FIXME: LimitText is not enforced in a text area (QPlainTextEdit has no length limit);
    // no area declares one.
    QPalette palette = area->palette();
    palette.setColor(QPalette::Text, detail::ToQColor(TextColor()));
    palette.setColor(QPalette::Base, detail::ToQColor(BackColor()));
    area->setPalette(palette);
}

}  // namespace fw
