#pragma once

#include <cstdint>
#include <string>

#include "fw/ui/Control.h"

class QWidget;

namespace fw {

class RectControl;
namespace testing {
QWidget* WidgetOf(const RectControl& control);
}

// A control with a rectangle on the window and a Qt widget of its own.
//
// Left and Top are window content coordinates, also for a control nested in another through
// InitialParent ("CardCanvas$1": the control registered as "CardCanvas" with index 1); its widget
// then is a child of the parent's widget, placed relative to it. The control owns its widget and
// lets it go when unhooked or destroyed; a nested widget may go with its parent's.
//
// Values set before the widget exists (or after the window has closed) are kept and are what
// the getters return; a new widget starts from them.
class RectControl : public Control {
public:
    ~RectControl() override;

    // The framework's base construction: creates the widget inside the owner window. A control
    // set's member constructor sets Index first and then calls this. Runs once; a second call
    // does nothing.
    virtual void Constructor();

    int64_t Left() const noexcept { return left_; }
    void SetLeft(int64_t left);
    int64_t Top() const noexcept { return top_; }
    void SetTop(int64_t top);
    int64_t Width() const noexcept { return width_; }
    void SetWidth(int64_t width);
    int64_t Height() const noexcept { return height_; }
    void SetHeight(int64_t height);

    // Locks keep the distance to an edge of the window when the window is resized; locked to
    // both opposite edges, the control stretches.
    bool LockLeft() const noexcept { return lockLeft_; }
    void SetLockLeft(bool on) { lockLeft_ = on; }
    bool LockTop() const noexcept { return lockTop_; }
    void SetLockTop(bool on) { lockTop_ = on; }
    bool LockRight() const noexcept { return lockRight_; }
    void SetLockRight(bool on) { lockRight_ = on; }
    bool LockBottom() const noexcept { return lockBottom_; }
    void SetLockBottom(bool on) { lockBottom_ = on; }

    // Kept for the program's sake; a window here has no tab panels.
    int64_t TabPanelIndex() const noexcept { return tabPanelIndex_; }
    void SetTabPanelIndex(int64_t index) { tabPanelIndex_ = index; }
    // The keyboard focus order among the window's controls.
    int64_t TabIndex() const noexcept { return tabIndex_; }
    void SetTabIndex(int64_t index);
    bool TabStop() const noexcept { return tabStop_; }
    void SetTabStop(bool on);
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool on);
    // The tooltip.
    const std::string& HelpTag() const noexcept { return helpTag_; }
    void SetHelpTag(std::string tag);
    // Kept for the program's sake (a platform setting with no meaning here).
    bool AutoDeactivate() const noexcept { return autoDeactivate_; }
    void SetAutoDeactivate(bool on) { autoDeactivate_ = on; }
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool on);
    // "Name$index" or "Name" of the control this one lies in; empty for the window itself.
    // Raises RuntimeException when no such control is registered with the window.
    const std::string& InitialParent() const noexcept { return initialParent_; }
    void SetInitialParent(std::string parent);

    // Redraws the control: at once when eraseBackground is True, else at the next paint.
    virtual void Refresh(bool eraseBackground = true);

    const char* ClassName() const noexcept override { return "RectControl"; }

    FW_PROPERTY_TABLE(RectControl)

protected:
    RectControl();

    // Makes the class's own widget as a child of parent, set up from the values the control
    // holds. The base places it, shows or hides it and enables it afterwards.
    virtual QWidget* CreateWidget(QWidget* parent) = 0;

    // Called once the widget exists and has been placed, for what a subclass sets up on it.
    virtual void WidgetCreated() {}

    // The widget, or null before Constructor and after the window has closed.
    QWidget* Widget() const noexcept { return widget_; }

    void Unhook() override;

private:
    friend class Window;
    friend QWidget* testing::WidgetOf(const RectControl& control);

    RectControl* ResolveParent(const std::string& parent) const;
    QWidget* ParentWidget() const;
    // Makes this control nested in parent (or in none), keeping the parent's count of nested
    // controls.
    void NestIn(RectControl* parent);
    // Moves this control to (left, top) and everything nested in it along, keeping them
    // together.
    void MoveTo(int64_t left, int64_t top);
    void Place();
    void ApplyFocusPolicy();
    // The window has been resized by (dx, dy); follow the locks.
    void FollowWindowResize(int64_t dx, int64_t dy);

    QWidget* widget_ = nullptr;
    RectControl* parent_ = nullptr;
    int64_t nestedCount_ = 0;  // controls whose parent_ is this one
    bool constructed_ = false;
    int64_t left_ = 0;
    int64_t top_ = 0;
    int64_t width_ = 100;
    int64_t height_ = 100;
    bool lockLeft_ = false;
    bool lockTop_ = false;
    bool lockRight_ = false;
    bool lockBottom_ = false;
    int64_t tabPanelIndex_ = 0;
    int64_t tabIndex_ = 0;
    bool tabStop_ = true;
    bool visible_ = true;
    std::string helpTag_;
    bool autoDeactivate_ = true;
    bool enabled_ = true;
    std::string initialParent_;
};

}  // namespace fw
