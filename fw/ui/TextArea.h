#pragma once

#include "fw/ui/TextEdit.h"

namespace fw {

// A multi-line text area. Its text's lines are separated by CR, as everywhere in the
// framework's strings; the widget shows them as lines. Event: Open (void(Ref<TextArea>)).
class TextArea : public TextEdit {
public:
    TextArea() = default;
    static Ref<TextArea> Create() { return MakeRef<TextArea>(); }

    // Whether Return breaks the line; without it Return goes on to the window.
    bool Multiline() const noexcept { return multiline_; }
    void SetMultiline(bool on);
    bool ScrollbarHorizontal() const noexcept { return scrollbarHorizontal_; }
    void SetScrollbarHorizontal(bool on);
    bool ScrollbarVertical() const noexcept { return scrollbarVertical_; }
    void SetScrollbarVertical(bool on);
    // Styled text: the text is plain either way here; kept.
    bool Styled() const noexcept { return styled_; }
    void SetStyled(bool on) { styled_ = on; }
    // Kept; the platform hides the selection of an unfocused area its own way.
    bool HideSelection() const noexcept { return hideSelection_; }
    void SetHideSelection(bool on) { hideSelection_ = on; }
    // Line metrics as declared (0.0 the font's own height, 1.0 single spacing); kept.
    double LineHeight() const noexcept { return lineHeight_; }
    void SetLineHeight(double height) { lineHeight_ = height; }
    double LineSpacing() const noexcept { return lineSpacing_; }
    void SetLineSpacing(double spacing) { lineSpacing_ = spacing; }

    const char* ClassName() const noexcept override { return "TextArea"; }

    FW_PROPERTY_TABLE(TextArea)

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    const std::type_info* EventSignature(int eventNumber) const override;
    void RaiseOpen() override;
    std::string WidgetText() const override;
    void ShowText(const std::string& text) override;
    void ApplyLook() override;

private:
    bool multiline_ = true;
    bool scrollbarHorizontal_ = false;
    bool scrollbarVertical_ = true;
    bool styled_ = false;
    bool hideSelection_ = true;
    double lineHeight_ = 0.0;
    double lineSpacing_ = 1.0;
};

}  // namespace fw
