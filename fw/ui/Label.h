#pragma once

#include <string>

#include "fw/core/Color.h"
#include "fw/ui/FontControl.h"

namespace fw {

// Static text. Lines of Text are separated by CR, as everywhere in the framework's strings.
class Label : public FontControl {
public:
    Label() = default;
    static Ref<Label> Create() { return MakeRef<Label>(); }

    const std::string& Text() const noexcept { return text_; }
    void SetText(std::string text);
    // 0 default (left), 1 left, 2 centre, 3 right.
    int64_t TextAlign() const noexcept { return textAlign_; }
    void SetTextAlign(int64_t align);
    Color TextColor() const noexcept { return textColor_; }
    void SetTextColor(Color color);
    // Long lines wrap at the label's width; the list names it "Multiline" or "MultiLine".
    bool Multiline() const noexcept { return multiline_; }
    void SetMultiline(bool on);
    bool Selectable() const noexcept { return selectable_; }
    void SetSelectable(bool on);
    // A label draws no background of its own either way: the window's shows through.
    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    // Database binding: kept, nothing here reads it.
    const std::string& DataSource() const noexcept { return dataSource_; }
    void SetDataSource(std::string source) { dataSource_ = std::move(source); }
    const std::string& DataField() const noexcept { return dataField_; }
    void SetDataField(std::string field) { dataField_ = std::move(field); }

    const char* ClassName() const noexcept override { return "Label"; }

    FW_PROPERTY_TABLE(Label)

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void WidgetCreated() override;

private:
    void ApplyLook();
    // Stores value and pushes the look into the widget, unless field holds that value already.
    template <class T>
    void ChangeLook(T& field, T value) {
        if (field == value) {
            return;
        }
        field = value;
        ApplyLook();
    }

    std::string text_;
    int64_t textAlign_ = 0;
    Color textColor_{};
    bool multiline_ = false;
    bool selectable_ = false;
    bool transparent_ = false;
    std::string dataSource_;
    std::string dataField_;
};

}  // namespace fw
