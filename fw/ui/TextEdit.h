#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "fw/core/Color.h"
#include "fw/ui/FontControl.h"

namespace fw {

// What TextField and TextArea share: editable text, its colours and limits.
//
// Text is what the control holds now, what the player typed included; setting it replaces the
// whole text. Line breaks are CR in the framework's strings.
class TextEdit : public FontControl {
public:
    bool Border() const noexcept { return border_; }
    void SetBorder(bool on);
    // The platform draws the focus frame its own way; kept.
    bool UseFocusRing() const noexcept { return useFocusRing_; }
    void SetUseFocusRing(bool on) { useFocusRing_ = on; }
    Color TextColor() const noexcept { return textColor_; }
    void SetTextColor(Color color);
    Color BackColor() const noexcept { return backColor_; }
    void SetBackColor(Color color);
    // A display format for numbers; kept, the text is shown as it is.
    const std::string& Format() const noexcept { return format_; }
    void SetFormat(std::string format) { format_ = std::move(format); }
    std::string Text() const;
    void SetText(std::string text);
    // An input mask in the original platform's syntax; kept, not enforced.
    // FIXME: translate the mask to QLineEdit::setInputMask once a control declares one.
    const std::string& Mask() const noexcept { return mask_; }
    void SetMask(std::string mask) { mask_ = std::move(mask); }
    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool on);
    // The most characters a field holds, typed or set (Qt counts UTF-16 units); 0 for no limit.
    // A text area does not enforce it.
    int64_t LimitText() const noexcept { return limitText_; }
    void SetLimitText(int64_t limit);
    // Whether Tab types a tab in a text area instead of moving the focus; a field never takes Tab.
    bool AcceptTabs() const noexcept { return acceptTabs_; }
    void SetAcceptTabs(bool on);
    // 0 default (left), 1 left, 2 centre, 3 right.
    int64_t Alignment() const noexcept { return alignment_; }
    void SetAlignment(int64_t alignment);
    // No spelling checker here; kept.
    bool AutomaticallyCheckSpelling() const noexcept { return checkSpelling_; }
    void SetAutomaticallyCheckSpelling(bool on) { checkSpelling_ = on; }
    const std::string& DataSource() const noexcept { return dataSource_; }
    void SetDataSource(std::string source) { dataSource_ = std::move(source); }
    const std::string& DataField() const noexcept { return dataField_; }
    void SetDataField(std::string field) { dataField_ = std::move(field); }

    const char* ClassName() const noexcept override { return "TextEdit"; }

    FW_PROPERTY_TABLE(TextEdit)

protected:
    TextEdit() = default;

    // The widget's text in the framework's form (CR line breaks).
    virtual std::string WidgetText() const = 0;
    virtual void ShowText(const std::string& text) = 0;
    // Pushes every setting but the text and the font into the widget.
    virtual void ApplyLook() = 0;

    void WidgetCreated() override;
    void Unhook() override;

    // Stores value and pushes the look into the widget, unless field holds that value already:
    // the widget shows it then, and a property list sets most settings to what they are.
    template <class T>
    void ChangeLook(T& field, T value) {
        if (field == value) {
            return;
        }
        field = std::move(value);
        Restyle();
    }

private:
    void Restyle();

    bool border_ = true;
    bool useFocusRing_ = true;
    Color textColor_{};
    Color backColor_{0x00FFFFFF};
    std::string format_;
    std::string text_;
    std::string mask_;
    bool readOnly_ = false;
    int64_t limitText_ = 0;
    bool acceptTabs_ = false;
    int64_t alignment_ = 0;
    bool checkSpelling_ = false;
    std::string dataSource_;
    std::string dataField_;
};

}  // namespace fw
