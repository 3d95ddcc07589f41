#include "fw/ui/Label.h"

#include <QLabel>

#include "fw/core/Thread.h"
#include "fw/ui/QtConvert.h"

namespace fw {

const PropertyTable<Label>& Label::Properties() {
    using L = Label;
    static const auto table = PropertyTable<Label>::Inherit(FontControl::Properties())
                                  .Add("Text", &L::Text, &L::SetText)
                                  .Add("TextAlign", &L::TextAlign, &L::SetTextAlign)
                                  .Add("TextColor", &L::TextColor, &L::SetTextColor)
                                  .Add("Multiline", &L::Multiline, &L::SetMultiline)
                                  .Alias("MultiLine", "Multiline")
                                  .Add("Selectable", &L::Selectable, &L::SetSelectable)
                                  .Add("Transparent", &L::Transparent, &L::SetTransparent)
                                  .Add("DataSource", &L::DataSource, &L::SetDataSource)
                                  .Add("DataField", &L::DataField, &L::SetDataField);
    return table;
}

QWidget* Label::CreateWidget(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFocusPolicy(Qt::NoFocus);
    label->setText(detail::CrToLf(text_));
    return label;
}

void Label::SetText(std::string text) {
    CheckUIThread();
    text_ = std::move(text);
    if (auto* label = static_cast<QLabel*>(Widget())) {
        label->setText(detail::CrToLf(text_));
    }
}

void Label::SetTextAlign(int64_t align) {
    CheckUIThread();
    ChangeLook(textAlign_, align);
}

void Label::SetTextColor(Color color) {
    CheckUIThread();
    ChangeLook(textColor_, color);
}

void Label::SetMultiline(bool on) {
    CheckUIThread();
    ChangeLook(multiline_, on);
}

void Label::SetSelectable(bool on) {
    CheckUIThread();
    ChangeLook(selectable_, on);
}

void Label::WidgetCreated() {
    FontControl::WidgetCreated();
    ApplyLook();
}

void Label::ApplyLook() {
    auto* label = static_cast<QLabel*>(Widget());
    if (label == nullptr) {
        return;
    }
    label->setAlignment(detail::ToHorizontalAlignment(textAlign_) | Qt::AlignTop);
    label->setWordWrap(multiline_);
    label->setTextInteractionFlags(selectable_ ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, detail::ToQColor(textColor_));
    label->setPalette(palette);
}

}  // namespace fw
