#pragma once

#include <string>

#include "fw/ui/TextEdit.h"

namespace fw {

// A single-line text field. Event: Open (void(Ref<TextField>)).
class TextField : public TextEdit {
public:
    TextField() = default;
    static Ref<TextField> Create() { return MakeRef<TextField>(); }

    bool Password() const noexcept { return password_; }
    void SetPassword(bool on);
    // Grey hint text shown while the field is empty.
    const std::string& CueText() const noexcept { return cueText_; }
    void SetCueText(std::string text);

    const char* ClassName() const noexcept override { return "TextField"; }

    FW_PROPERTY_TABLE(TextField)

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    const std::type_info* EventSignature(int eventNumber) const override;
    void RaiseOpen() override;
    std::string WidgetText() const override;
    void ShowText(const std::string& text) override;
    void ApplyLook() override;

private:
    bool password_ = false;
    std::string cueText_;
};

}  // namespace fw
