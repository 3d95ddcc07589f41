#include "fw/ui/FontControl.h"

#include <QWidget>

#include "fw/core/Thread.h"
#include "fw/ui/QtFont.h"

namespace fw {

const PropertyTable<FontControl>& FontControl::Properties() {
    using F = FontControl;
    static const auto table = PropertyTable<FontControl>::Inherit(RectControl::Properties())
                                  .Add("TextFont", &F::TextFont, &F::SetTextFont)
                                  .Add("TextSize", &F::TextSize, &F::SetTextSize)
                                  .Add("TextUnit", &F::TextUnit, &F::SetTextUnit)
                                  .Add("Bold", &F::Bold, &F::SetBold)
                                  .Add("Italic", &F::Italic, &F::SetItalic)
                                  .Add("Underline", &F::Underline, &F::SetUnderline);
    return table;
}

void FontControl::SetTextFont(std::string name) {
    CheckUIThread();
    font_.name = std::move(name);
    ApplyFont();
}

void FontControl::SetTextSize(float size) {
    CheckUIThread();
    font_.size = size;
    ApplyFont();
}

void FontControl::SetBold(bool on) {
    CheckUIThread();
    font_.bold = on;
    ApplyFont();
}

void FontControl::SetItalic(bool on) {
    CheckUIThread();
    font_.italic = on;
    ApplyFont();
}

void FontControl::SetUnderline(bool on) {
    CheckUIThread();
    font_.underline = on;
    ApplyFont();
}

void FontControl::ApplyFont() {
    if (QWidget* widget = Widget()) {
        widget->setFont(detail::QtFontFor(font_));
    }
}

}  // namespace fw
