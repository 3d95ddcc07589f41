#pragma once

// Private to the framework: the top-level widget behind a fw::Window.
#include <QWidget>

namespace fw {
class Window;

namespace detail {

// The window frame: a menu bar strip on top (when the window shows its bar) and the content
// widget below, in which the controls lie. It reports the close box, the Return, Enter and
// Escape keys that no control took, and its resizes back to its Window. Once the Window lets it
// go (Detach) it reports nothing.
class WindowWidget final : public QWidget {
public:
    explicit WindowWidget(Window& owner);

    QWidget* Content() const noexcept { return content_; }
    void Detach() noexcept { owner_ = nullptr; }
    // Places the menu bar and the content widget in the current size.
    void LayoutChildren();
    // The height the visible menu bar takes; 0 without one.
    int MenuBarHeight() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Window* owner_;
    QWidget* content_;
};

}  // namespace detail
}  // namespace fw
