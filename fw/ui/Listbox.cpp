#include "fw/ui/Listbox.h"

#include <QListWidget>

#include "fw/core/Thread.h"
#include "fw/ui/QtConvert.h"

namespace fw {
namespace {

std::vector<std::string> SplitRows(std::string_view value) {
    std::vector<std::string> rows;
    size_t start = 0;
    while (start < value.size()) {
        const size_t end = value.find('\r', start);
        if (end == std::string_view::npos) {
            rows.emplace_back(value.substr(start));
            break;
        }
        rows.emplace_back(value.substr(start, end - start));
        start = end + 1;
    }
    return rows;
}

}  // namespace

const PropertyTable<Listbox>& Listbox::Properties() {
    using L = Listbox;
    static const auto table =
        PropertyTable<Listbox>::Inherit(FontControl::Properties())
            .Add("Border", &L::Border, &L::SetBorder)
            .Add("ColumnCount", &L::ColumnCount, &L::SetColumnCount)
            .Add("ColumnWidths", &L::ColumnWidths, &L::SetColumnWidths)
            .Add("HasHeading", &L::HasHeading, &L::SetHasHeading)
            .Add("UseFocusRing", &L::UseFocusRing, &L::SetUseFocusRing)
            .Add("InitialValue", &L::InitialValue, &L::SetInitialValue)
            .Add("HeadingIndex", &L::HeadingIndex, &L::SetHeadingIndex)
            .Add("ScrollbarHorizontal", &L::ScrollbarHorizontal, &L::SetScrollbarHorizontal)
            .Add("ScrollBarVertical", &L::ScrollBarVertical, &L::SetScrollBarVertical)
            .Add("GridLinesHorizontal", &L::GridLinesHorizontal, &L::SetGridLinesHorizontal)
            .Add("GridLinesVertical", &L::GridLinesVertical, &L::SetGridLinesVertical)
            .Add("DefaultRowHeight", &L::DefaultRowHeight, &L::SetDefaultRowHeight)
            .Add("_ScrollWidth", &L::_ScrollWidth, &L::Set_ScrollWidth)
            .Add("_ScrollOffset", &L::_ScrollOffset, &L::Set_ScrollOffset)
            .Add("Hierarchical", &L::Hierarchical, &L::SetHierarchical)
            .Add("EnableDrag", &L::EnableDrag, &L::SetEnableDrag)
            .Add("EnableDragReorder", &L::EnableDragReorder, &L::SetEnableDragReorder)
            .Add("RequiresSelection", &L::RequiresSelection, &L::SetRequiresSelection)
            .Add("SelectionType", &L::SelectionType, &L::SetSelectionType)
            .Add("ColumnsResizable", &L::ColumnsResizable, &L::SetColumnsResizable)
            .Add("AutoHideScrollbars", &L::AutoHideScrollbars, &L::SetAutoHideScrollbars)
            .Add("DataSource", &L::DataSource, &L::SetDataSource)
            .Add("DataField", &L::DataField, &L::SetDataField);
    return table;
}

std::string Listbox::List(int64_t row) const {
    if (row < 0 || row >= ListCount()) {
        throw OutOfBoundsException("row " + std::to_string(row) + " outside 0.." +
                                   std::to_string(ListCount() - 1));
    }
    return rows_[static_cast<size_t>(row)];
}

void Listbox::SetInitialValue(std::string value) {
    CheckUIThread();
    initialValue_ = std::move(value);
    rows_ = SplitRows(initialValue_);
    ShowRows();
}

QWidget* Listbox::CreateWidget(QWidget* parent) {
    return new QListWidget(parent);
}

void Listbox::WidgetCreated() {
    FontControl::WidgetCreated();
    ApplyLook();
    ShowRows();
}

void Listbox::ShowRows() {
    auto* list = static_cast<QListWidget*>(Widget());
    if (list == nullptr) {
        return;
    }
    QStringList items;
    items.reserve(static_cast<qsizetype>(rows_.size()));
    for (const auto& row : rows_) {
        items.push_back(detail::ToQString(row));
    }
    list->clear();
    list->addItems(items);
}

void Listbox::SetBorder(bool on) {
    CheckUIThread();
    border_ = on;
    ApplyLook();
}

void Listbox::SetScrollbarHorizontal(bool on) {
    CheckUIThread();
    scrollbarHorizontal_ = on;
    ApplyLook();
}

void Listbox::SetScrollBarVertical(bool on) {
    CheckUIThread();
    scrollBarVertical_ = on;
    ApplyLook();
}

void Listbox::SetAutoHideScrollbars(bool on) {
    CheckUIThread();
    autoHideScrollbars_ = on;
    ApplyLook();
}

void Listbox::ApplyLook() {
    auto* list = static_cast<QListWidget*>(Widget());
    if (list == nullptr) {
        return;
    }
    list->setFrameShape(border_ ? QFrame::StyledPanel : QFrame::NoFrame);
    const auto policy = [this](bool on) {
        if (!on) {
            return Qt::ScrollBarAlwaysOff;
        }
        return autoHideScrollbars_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    };
    list->setHorizontalScrollBarPolicy(policy(scrollbarHorizontal_));
    list->setVerticalScrollBarPolicy(policy(scrollBarVertical_));
}

}  // namespace fw
