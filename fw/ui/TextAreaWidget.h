#pragma once

// Private to the framework: the widget behind a fw::TextArea.
#include <QKeyEvent>
#include <QPlainTextEdit>

namespace fw::detail {

// A plain-text editor that, when the area is not multi-line, lets Return go on to the window
// (which presses its default button) instead of breaking the line.
class TextAreaWidget final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

    void SetReturnBreaksLine(bool on) noexcept { returnBreaksLine_ = on; }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (isReturn && !returnBreaksLine_) {
            event->ignore();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }

private:
    bool returnBreaksLine_ = true;
};

}  // namespace fw::detail
