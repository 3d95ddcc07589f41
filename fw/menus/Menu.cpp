#include "fw/menus/Menu.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cctype>

#include "fw/core/Dispatch.h"
#include "fw/core/FaultPoint.h"
#include "fw/core/Thread.h"
#include "fw/menus/MenuInstall.h"

namespace fw {
namespace {

// The standard edit commands the framework knows by item name.
enum class EditCommand { None, Undo, Cut, Copy, Paste, Clear };

EditCommand EditCommandOf(std::string_view name) {
    struct Entry {
        std::string_view name;
        EditCommand command;
    };
    static constexpr std::array<Entry, 5> kCommands{{{"EditUndo", EditCommand::Undo},
                                                     {"EditCut", EditCommand::Cut},
                                                     {"EditCopy", EditCommand::Copy},
                                                     {"EditPaste", EditCommand::Paste},
                                                     {"EditClear", EditCommand::Clear}}};
    for (const auto& entry : kCommands) {
        if (entry.name == name) {
            return entry.command;
        }
    }
    return EditCommand::None;
}

// Clear deletes the selection only, like the Delete key on a selection; a read-only field is
// never changed, whatever the command.
void ApplyTo(QLineEdit& field, EditCommand command) {
    switch (command) {
        case EditCommand::Copy:
            field.copy();
            return;
        case EditCommand::None:
            return;
        default:
            break;
    }
    if (field.isReadOnly()) {
        return;
    }
    switch (command) {
        case EditCommand::Undo:
            field.undo();
            break;
        case EditCommand::Cut:
            field.cut();
            break;
        case EditCommand::Paste:
            field.paste();
            break;
        case EditCommand::Clear:
            if (field.hasSelectedText()) {
                field.del();
            }
            break;
        default:
            break;
    }
}

// QTextEdit and QPlainTextEdit share these calls but no base class that has them.
template <class Edit>
void ApplyToArea(Edit& area, EditCommand command) {
    switch (command) {
        case EditCommand::Copy:
            area.copy();
            return;
        case EditCommand::None:
            return;
        default:
            break;
    }
    if (area.isReadOnly()) {
        return;
    }
    switch (command) {
        case EditCommand::Undo:
            area.undo();
            break;
        case EditCommand::Cut:
            area.cut();
            break;
        case EditCommand::Paste:
            area.paste();
            break;
        case EditCommand::Clear: {
            QTextCursor cursor = area.textCursor();
            cursor.removeSelectedText();
            area.setTextCursor(cursor);
            break;
        }
        default:
            break;
    }
}

void ApplyToFocusedText(EditCommand command) {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) {
        return;
    }
    if (auto* field = qobject_cast<QLineEdit*>(focus)) {
        ApplyTo(*field, command);
    } else if (auto* area = qobject_cast<QTextEdit*>(focus)) {
        ApplyToArea(*area, command);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        ApplyToArea(*plain, command);
    }
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

MenuItem::MenuItem() : handle_(std::make_shared<detail::MenuItemHandle>()) {
    handle_->item = this;
}

MenuItem::~MenuItem() {
    handle_->item = nullptr;
    for (auto& child : children_) {
        child->parent_ = nullptr;
    }
}

void MenuItem::Constructor() {
    FaultPoint("MenuItem.Constructor");
}

void MenuItem::Append(Ref<MenuItem> item) {
    if (item.IsNil()) {
        throw NilObjectException("MenuItem.Append: nil item");
    }
    for (const MenuItem* ancestor = this; ancestor != nullptr; ancestor = ancestor->parent_) {
        if (ancestor == item.Get()) {
            throw RuntimeException("MenuItem.Append: an item cannot contain itself");
        }
    }
    if (MenuItem* old = item->parent_) {
        auto& siblings = old->children_;
        siblings.erase(std::find(siblings.begin(), siblings.end(), item));
    }
    item->parent_ = this;
    children_.push_back(std::move(item));
}

Ref<MenuItem> MenuItem::Child(std::string_view name) const {
    for (const auto& child : children_) {
        if (child->name_ == name) {
            return child;
        }
    }
    return nullptr;
}

Ref<MenuItem> MenuItem::Item(int64_t index) const {
    if (index < 0 || index >= Count()) {
        throw OutOfBoundsException("MenuItem.Item: index " + std::to_string(index) +
                                   " outside 0.." + std::to_string(Count() - 1));
    }
    return children_[static_cast<size_t>(index)];
}

void MenuItem::Trigger() {
    CheckUIThread();
    detail::ChooseMenuItem(*this);
}

void MenuItem::_Choose() {
    ApplyToFocusedText(EditCommandOf(name_));
}

void QuitMenuItem::_Choose() {
    // Ends the running event loop at once with code 0; _RuntimeRun hands the code to RuntimeExit.
    QCoreApplication::exit(0);
}

std::string PlatformShortcut(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    std::string result;
    size_t start = 0;
    while (true) {
        const size_t plus = text.find('+', start);
        // A "+" right at the start of a part is the plus key itself ("Cmd++").
        const size_t end =
            plus == std::string_view::npos ? text.size() : (plus == start ? plus + 1 : plus);
        const std::string_view part = text.substr(start, end - start);
        if (!result.empty()) {
            result += '+';
        }
        const bool isLast = end >= text.size();
        if (!isLast && (EqualsIgnoringCase(part, "Cmd") || EqualsIgnoringCase(part, "Command"))) {
            result += "Ctrl";
        } else if (!isLast &&
                   (EqualsIgnoringCase(part, "Option") || EqualsIgnoringCase(part, "Opt"))) {
            result += "Alt";
        } else {
            result += part;
        }
        if (isLast) {
            break;
        }
        start = end + 1;
    }
    return result;
}

}  // namespace fw
