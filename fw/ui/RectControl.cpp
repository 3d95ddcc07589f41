#include "fw/ui/RectControl.h"

#include <QCoreApplication>
#include <QWidget>
#include <algorithm>
#include <charconv>

#include "fw/core/Thread.h"
#include "fw/ui/QtConvert.h"
#include "fw/ui/SaturatingMath.h"
#include "fw/ui/Window.h"

namespace fw {

RectControl::RectControl() = default;

RectControl::~RectControl() {
    // Unhooked controls have let their widget go already; this is one that its window never
    // registered, dropped while the window lives on.
    if (widget_ != nullptr && QCoreApplication::instance() != nullptr) {
        QObject::disconnect(widget_, nullptr, widget_, nullptr);
        widget_->hide();
        widget_->deleteLater();
    }
}

const PropertyTable<RectControl>& RectControl::Properties() {
    using R = RectControl;
    static const auto table = PropertyTable<RectControl>::Inherit(Control::Properties())
                                  .Add("Left", &R::Left, &R::SetLeft)
                                  .Add("Top", &R::Top, &R::SetTop)
                                  .Add("Width", &R::Width, &R::SetWidth)
                                  .Add("Height", &R::Height, &R::SetHeight)
                                  .Add("LockLeft", &R::LockLeft, &R::SetLockLeft)
                                  .Add("LockTop", &R::LockTop, &R::SetLockTop)
                                  .Add("LockRight", &R::LockRight, &R::SetLockRight)
                                  .Add("LockBottom", &R::LockBottom, &R::SetLockBottom)
                                  .Add("TabPanelIndex", &R::TabPanelIndex, &R::SetTabPanelIndex)
                                  .Add("TabIndex", &R::TabIndex, &R::SetTabIndex)
                                  .Add("TabStop", &R::TabStop, &R::SetTabStop)
                                  .Add("Visible", &R::Visible, &R::SetVisible)
                                  .Add("HelpTag", &R::HelpTag, &R::SetHelpTag)
                                  .Add("AutoDeactivate", &R::AutoDeactivate, &R::SetAutoDeactivate)
                                  .Add("Enabled", &R::Enabled, &R::SetEnabled)
                                  .Add("InitialParent", &R::InitialParent, &R::SetInitialParent);
    return table;
}

void RectControl::Constructor() {
    CheckUIThread();
    if (constructed_) {
        return;
    }
    Window* owner = Owner();
    if (owner == nullptr) {
        throw RuntimeException(std::string(ClassName()) + " belongs to no window");
    }
    constructed_ = true;
    if (IsUnhooked()) {
        return;  // its window has closed: no widget any more
    }
    if (!initialParent_.empty() && parent_ == nullptr) {
        NestIn(ResolveParent(initialParent_));
    }
    QWidget* parent = ParentWidget();
    if (parent == nullptr) {
        return;
    }
    widget_ = CreateWidget(parent);
    Place();
    widget_->setEnabled(enabled_);
    widget_->setToolTip(detail::ToQString(helpTag_));
    ApplyFocusPolicy();
    // Explicitly: a widget added to a window that is already showing stays hidden otherwise.
    widget_->setVisible(visible_);
    WidgetCreated();
}

QWidget* RectControl::ParentWidget() const {
    if (parent_ != nullptr) {
        return parent_->widget_;
    }
    Window* owner = Owner();
    return owner != nullptr ? owner->ContentWidget() : nullptr;
}

void RectControl::Place() {
    if (widget_ == nullptr) {
        return;
    }
    // The widget sits in its parent's widget, so its position is relative to the parent's.
    const int64_t x = detail::SaturatingSub(left_, parent_ != nullptr ? parent_->left_ : 0);
    const int64_t y = detail::SaturatingSub(top_, parent_ != nullptr ? parent_->top_ : 0);
    widget_->setGeometry(detail::ToInt(x), detail::ToInt(y),
                         detail::ToInt(std::max<int64_t>(0, width_)),
                         detail::ToInt(std::max<int64_t>(0, height_)));
}

void RectControl::NestIn(RectControl* parent) {
    if (parent_ != nullptr) {
        --parent_->nestedCount_;
    }
    parent_ = parent;
    if (parent_ != nullptr) {
        ++parent_->nestedCount_;
    }
}

void RectControl::MoveTo(int64_t left, int64_t top) {
    const int64_t dx = detail::SaturatingSub(left, left_);
    const int64_t dy = detail::SaturatingSub(top, top_);
    left_ = left;
    top_ = top;
    Place();
    // Nested controls move with this one, as their widgets do; their window coordinates follow.
    // Most controls have none, and a frame's face is made after the frame is placed.
    if (Window* owner = Owner(); owner != nullptr && nestedCount_ > 0) {
        for (Control* member : owner->members_) {
            auto* child = dynamic_cast<RectControl*>(member);
            if (child != nullptr && child->parent_ == this) {
                child->MoveTo(detail::SaturatingAdd(child->left_, dx),
                              detail::SaturatingAdd(child->top_, dy));
            }
        }
    }
}

void RectControl::SetLeft(int64_t left) {
    CheckUIThread();
    MoveTo(left, top_);
}

void RectControl::SetTop(int64_t top) {
    CheckUIThread();
    MoveTo(left_, top);
}

void RectControl::SetWidth(int64_t width) {
    CheckUIThread();
    width_ = width;
    Place();
}

void RectControl::SetHeight(int64_t height) {
    CheckUIThread();
    height_ = height;
    Place();
}

void RectControl::SetTabIndex(int64_t index) {
    CheckUIThread();
    tabIndex_ = index;
    // The window orders the focus chain by TabIndex when it opens.
}

void RectControl::SetTabStop(bool on) {
    CheckUIThread();
    tabStop_ = on;
    ApplyFocusPolicy();
}

void RectControl::ApplyFocusPolicy() {
    // Controls that never take the focus (labels, canvases) stay out of the chain either way.
    if (widget_ != nullptr && widget_->focusPolicy() != Qt::NoFocus) {
        widget_->setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void RectControl::SetVisible(bool on) {
    CheckUIThread();
    visible_ = on;
    if (widget_ != nullptr) {
        widget_->setVisible(on);
    }
}

void RectControl::SetHelpTag(std::string tag) {
    CheckUIThread();
    helpTag_ = std::move(tag);
    if (widget_ != nullptr) {
        widget_->setToolTip(detail::ToQString(helpTag_));
    }
}

void RectControl::SetEnabled(bool on) {
    CheckUIThread();
    enabled_ = on;
    if (widget_ != nullptr) {
        widget_->setEnabled(on);
    }
}

RectControl* RectControl::ResolveParent(const std::string& parent) const {
    Window* owner = Owner();
    if (owner == nullptr) {
        throw RuntimeException("InitialParent " + parent + ": control belongs to no window");
    }
    Ref<Control> found;
    const size_t dollar = parent.rfind('$');
    int64_t index = 0;
    const char* first = parent.data() + (dollar == std::string::npos ? 0 : dollar + 1);
    const char* last = parent.data() + parent.size();
    if (dollar != std::string::npos && first != last &&
        std::from_chars(first, last, index).ptr == last) {
        found = owner->_ControlByNameIndex(std::string_view(parent).substr(0, dollar), index);
    } else {
        found = owner->_ControlByName(parent);
    }
    auto* rect = dynamic_cast<RectControl*>(found.Get());
    if (rect == nullptr) {
        throw RuntimeException("InitialParent " + parent + ": no such control in the window");
    }
    for (const RectControl* up = rect; up != nullptr; up = up->parent_) {
        if (up == this) {
            throw RuntimeException("InitialParent " + parent + " lies inside " + Name());
        }
    }
    return rect;
}

void RectControl::SetInitialParent(std::string parent) {
    CheckUIThread();
    RectControl* resolved = nullptr;
    if (!parent.empty() && !IsUnhooked() && Owner() != nullptr) {
        resolved = ResolveParent(parent);
    }
    initialParent_ = std::move(parent);
    NestIn(resolved);
    if (widget_ != nullptr) {
        if (QWidget* host = ParentWidget()) {
            widget_->setParent(host);
            Place();
            // Reparenting hides a widget.
            widget_->setVisible(visible_);
        }
    }
}

void RectControl::Refresh(bool eraseBackground) {
    CheckUIThread();
    if (widget_ == nullptr) {
        return;
    }
    if (eraseBackground) {
        widget_->repaint();
    } else {
        widget_->update();
    }
}

void RectControl::FollowWindowResize(int64_t dx, int64_t dy) {
    // Only controls that lie on the window itself follow its edges; nested ones go with their
    // parent.
    if (parent_ != nullptr) {
        return;
    }
    int64_t moveX = 0;
    int64_t moveY = 0;
    if (lockRight_) {
        if (lockLeft_) {
            width_ = detail::SaturatingAdd(width_, dx);
        } else {
            moveX = dx;
        }
    }
    if (lockBottom_) {
        if (lockTop_) {
            height_ = detail::SaturatingAdd(height_, dy);
        } else {
            moveY = dy;
        }
    }
    MoveTo(detail::SaturatingAdd(left_, moveX), detail::SaturatingAdd(top_, moveY));
}

void RectControl::Unhook() {
    if (widget_ != nullptr) {
        if (QCoreApplication::instance() != nullptr) {
            // No more signals into this control; hidden, it gets no paint or input either, and
            // it goes later since this may run inside one of its own events. Only our own
            // connections (made in the widget's context) go: Qt's own, such as the accessibility
            // cache's watch for the widget's destruction, must stay or their entries never go.
            QObject::disconnect(widget_, nullptr, widget_, nullptr);
            widget_->hide();
            widget_->deleteLater();
        }
        widget_ = nullptr;
    }
    NestIn(nullptr);
    Control::Unhook();
}

namespace testing {

QWidget* WidgetOf(const RectControl& control) {
    return control.widget_;
}

}  // namespace testing
}  // namespace fw
