#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fw/ui/FontControl.h"

namespace fw {

// A list of rows of text. InitialValue holds the rows separated by CR (a CR at the very end
// ends the last row and makes no empty one). One column is shown; the column settings are kept.
class Listbox : public FontControl {
public:
    Listbox() = default;
    static Ref<Listbox> Create() { return MakeRef<Listbox>(); }

    // The text of row (from 0) without its separator; OutOfBoundsException outside the rows.
    std::string List(int64_t row) const;
    int64_t ListCount() const noexcept { return static_cast<int64_t>(rows_.size()); }

    const std::string& InitialValue() const noexcept { return initialValue_; }
    // Replaces every row by the rows of value.
    void SetInitialValue(std::string value);

    bool Border() const noexcept { return border_; }
    void SetBorder(bool on);
    bool ScrollbarHorizontal() const noexcept { return scrollbarHorizontal_; }
    void SetScrollbarHorizontal(bool on);
    // Spelt "ScrollBarVertical" in the lists of this class.
    bool ScrollBarVertical() const noexcept { return scrollBarVertical_; }
    void SetScrollBarVertical(bool on);
    // Scroll bars appear only when the rows need them; without it they always show.
    bool AutoHideScrollbars() const noexcept { return autoHideScrollbars_; }
    void SetAutoHideScrollbars(bool on);

    // Kept as declared: one column is shown, with no heading, grid or drag and drop.
    // FIXME: show several columns (QTreeWidget) should a list declare them.
    int64_t ColumnCount() const noexcept { return columnCount_; }
    void SetColumnCount(int64_t count) { columnCount_ = count; }
    const std::string& ColumnWidths() const noexcept { return columnWidths_; }
    void SetColumnWidths(std::string widths) { columnWidths_ = std::move(widths); }
    bool HasHeading() const noexcept { return hasHeading_; }
    void SetHasHeading(bool on) { hasHeading_ = on; }
    int64_t HeadingIndex() const noexcept { return headingIndex_; }
    void SetHeadingIndex(int64_t index) { headingIndex_ = index; }
    bool UseFocusRing() const noexcept { return useFocusRing_; }
    void SetUseFocusRing(bool on) { useFocusRing_ = on; }
    int64_t GridLinesHorizontal() const noexcept { return gridLinesHorizontal_; }
    void SetGridLinesHorizontal(int64_t style) { gridLinesHorizontal_ = style; }
    int64_t GridLinesVertical() const noexcept { return gridLinesVertical_; }
    void SetGridLinesVertical(int64_t style) { gridLinesVertical_ = style; }
    int64_t DefaultRowHeight() const noexcept { return defaultRowHeight_; }
    void SetDefaultRowHeight(int64_t height) { defaultRowHeight_ = height; }
    int64_t _ScrollWidth() const noexcept { return scrollWidth_; }
    void Set_ScrollWidth(int64_t width) { scrollWidth_ = width; }
    int64_t _ScrollOffset() const noexcept { return scrollOffset_; }
    void Set_ScrollOffset(int64_t offset) { scrollOffset_ = offset; }
    bool Hierarchical() const noexcept { return hierarchical_; }
    void SetHierarchical(bool on) { hierarchical_ = on; }
    bool EnableDrag() const noexcept { return enableDrag_; }
    void SetEnableDrag(bool on) { enableDrag_ = on; }
    bool EnableDragReorder() const noexcept { return enableDragReorder_; }
    void SetEnableDragReorder(bool on) { enableDragReorder_ = on; }
    bool RequiresSelection() const noexcept { return requiresSelection_; }
    void SetRequiresSelection(bool on) { requiresSelection_ = on; }
    int64_t SelectionType() const noexcept { return selectionType_; }
    void SetSelectionType(int64_t type) { selectionType_ = type; }
    bool ColumnsResizable() const noexcept { return columnsResizable_; }
    void SetColumnsResizable(bool on) { columnsResizable_ = on; }
    const std::string& DataSource() const noexcept { return dataSource_; }
    void SetDataSource(std::string source) { dataSource_ = std::move(source); }
    const std::string& DataField() const noexcept { return dataField_; }
    void SetDataField(std::string field) { dataField_ = std::move(field); }

    const char* ClassName() const noexcept override { return "Listbox"; }

    FW_PROPERTY_TABLE(Listbox)

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void WidgetCreated() override;

private:
    void ApplyLook();
    void ShowRows();

    std::vector<std::string> rows_;
    std::string initialValue_;
    bool border_ = true;
    bool scrollbarHorizontal_ = false;
    bool scrollBarVertical_ = true;
    bool autoHideScrollbars_ = true;
    int64_t columnCount_ = 1;
    std::string columnWidths_;
    bool hasHeading_ = false;
    int64_t headingIndex_ = -1;
    bool useFocusRing_ = true;
    int64_t gridLinesHorizontal_ = 0;
    int64_t gridLinesVertical_ = 0;
    int64_t defaultRowHeight_ = -1;
    int64_t scrollWidth_ = -1;
    int64_t scrollOffset_ = 0;
    bool hierarchical_ = false;
    bool enableDrag_ = false;
    bool enableDragReorder_ = false;
    bool requiresSelection_ = false;
    int64_t selectionType_ = 0;
    bool columnsResizable_ = false;
    std::string dataSource_;
    std::string dataField_;
};

}  // namespace fw
