#include "fw/ui/WindowWidget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QResizeEvent>

#include "fw/core/Dispatch.h"
#include "fw/desktop/X11Properties.h"
#include "fw/menus/MenuInstall.h"
#include "fw/ui/Window.h"

namespace fw::detail {

WindowWidget::WindowWidget(Window& owner)
    : QWidget(nullptr, Qt::Window), owner_(&owner), content_(new QWidget(this)) {
    content_->setObjectName(QStringLiteral("content"));
}

int WindowWidget::MenuBarHeight() const {
    QWidget* bar = InstalledMenuBar(const_cast<WindowWidget*>(this));
    if (bar == nullptr || bar->isHidden()) {
        return 0;
    }
    return bar->sizeHint().height();
}

void WindowWidget::LayoutChildren() {
    const int barHeight = MenuBarHeight();
    if (QWidget* bar = InstalledMenuBar(this); bar != nullptr && barHeight > 0) {
        bar->setGeometry(0, 0, width(), barHeight);
    }
    content_->setGeometry(0, barHeight, width(), std::max(0, height() - barHeight));
}

bool WindowWidget::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // Qt writes the window's names when it makes the native window and each time the title is
    // set, and fills an empty title with the program's name; a window declared without a title
    // shows none.
    const QEvent::Type type = event->type();
    if ((type == QEvent::WinIdChange || type == QEvent::WindowTitleChange) &&
        windowTitle().isEmpty()) {
        EmptyX11WindowNames(*this);
    }
    return handled;
}

void WindowWidget::closeEvent(QCloseEvent* event) {
    if (owner_ == nullptr) {
        event->accept();
        return;
    }
    // Close may drop the framework's last reference to the window; the one held here keeps it
    // alive until the call is over.
    Ref<Window> window(owner_);
    Dispatch([&window] { window->Close(); });
    // Only a window that really closed lets Qt close its widget (and perhaps end the run).
    event->setAccepted(!window->IsOpen());
}

void WindowWidget::keyPressEvent(QKeyEvent* event) {
    // Keys reach the window only when the focused control did not take them: a line edit lets
    // Return through, a multi-line text area keeps it.
    const int key = event->key();
    const bool isReturn = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (owner_ != nullptr && plain && (isReturn || key == Qt::Key_Escape) &&
        owner_->PressButtonForKey(isReturn)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void WindowWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutChildren();
    if (owner_ != nullptr) {
        owner_->ContentResized(content_->width(), content_->height());
    }
}

}  // namespace fw::detail
