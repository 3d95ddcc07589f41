#pragma once

#include <string>

#include "fw/ui/Font.h"
#include "fw/ui/RectControl.h"

namespace fw {

// A control that shows text in a declared font: Label, TextField, TextArea, Listbox, PushButton.
// TextFont is kept as declared; the widget shows the nearest installed family (FontFamilyFor).
class FontControl : public RectControl {
public:
    const std::string& TextFont() const noexcept { return font_.name; }
    void SetTextFont(std::string name);
    // In pixels, like the original platform's 72-dpi points; 0 keeps the platform's size.
    float TextSize() const noexcept { return font_.size; }
    void SetTextSize(float size);
    // Kept as declared; every size is in pixels here.
    FontUnit TextUnit() const noexcept { return font_.unit; }
    void SetTextUnit(FontUnit unit) { font_.unit = unit; }
    bool Bold() const noexcept { return font_.bold; }
    void SetBold(bool on);
    bool Italic() const noexcept { return font_.italic; }
    void SetItalic(bool on);
    bool Underline() const noexcept { return font_.underline; }
    void SetUnderline(bool on);

    const char* ClassName() const noexcept override { return "FontControl"; }

    FW_PROPERTY_TABLE(FontControl)

protected:
    FontControl() = default;
    void WidgetCreated() override { ApplyFont(); }
    void ApplyFont();

private:
    DeclaredFont font_;
};

}  // namespace fw
