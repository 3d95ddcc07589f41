#include "fw/ui/Window.h"

#include <QApplication>
#include <QCoreApplication>
#include <algorithm>

#include "fw/core/Dispatch.h"
#include "fw/core/Thread.h"
#include "fw/menus/Menu.h"
#include "fw/menus/MenuInstall.h"
#include "fw/runtime/Application.h"
#include "fw/runtime/Runtime.h"
#include "fw/ui/PushButton.h"
#include "fw/ui/QtConvert.h"
#include "fw/ui/RectControl.h"
#include "fw/ui/SaturatingMath.h"
#include "fw/ui/WindowWidget.h"

namespace fw {
namespace {

// The open windows, oldest first. The framework's reference keeps a window alive while it is
// open, whoever else lets it go. The list itself is never destroyed: a window still open when
// the process ends must not be torn down by a static destructor after Qt's own statics are gone.
std::vector<Ref<Window>>& Registry() {
    static auto* open = new std::vector<Ref<Window>>;
    return *open;
}

// When the event loop ends (the quit item, or the application being told to quit) the windows
// that are still open close, newest first, while Qt is still there to take their widgets down.
// Each gets one try from a copy of the list: a Close that fails leaves its window registered,
// and its exception goes to the unhandled-exception routine instead of into Qt's exec().
void CloseAllAtExit() {
    const std::vector<Ref<Window>> open = Registry();
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        const Ref<Window>& window = *it;
        Dispatch([&window] { window->Close(); });
    }
}

// Only the end of the loop is watched, not the end of the QApplication: RuntimeInit never
// deletes the application it makes, so a post routine would never run.
void WatchApplicationExit() {
    static bool watching = false;
    if (!watching) {
        watching = true;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, &CloseAllAtExit);
    }
}

int WidgetSize(int64_t size) {
    return static_cast<int>(std::clamp<int64_t>(size, 0, QWIDGETSIZE_MAX));
}

}  // namespace

Window::Window() = default;

Window::~Window() {
    UnhookAll();
    // The controls may outlive the window in somebody's reference; their handlers may point at
    // it, so they go with it.
    for (Control* member : members_) {
        member->owner_ = nullptr;
        member->handlers_.clear();
    }
    members_.clear();
    ReleaseWidget();
    // controls_ releases the controls after this body; they no longer point back here.
}

const PropertyTable<Window>& Window::Properties() {
    using W = Window;
    static const auto table =
        PropertyTable<Window>()
            .Add("Width", &W::Width, &W::SetWidth)
            .Add("Height", &W::Height, &W::SetHeight)
            .Add("MinWidth", &W::MinWidth, &W::SetMinWidth)
            .Add("MinHeight", &W::MinHeight, &W::SetMinHeight)
            .Add("MaxWidth", &W::MaxWidth, &W::SetMaxWidth)
            .Add("MaxHeight", &W::MaxHeight, &W::SetMaxHeight)
            .Add("Frame", &W::Frame, &W::SetFrame)
            .Add("Title", &W::Title, &W::SetTitle)
            .Add("CloseButton", &W::CloseButton, &W::SetCloseButton)
            .Add("Resizeable", &W::Resizeable, &W::SetResizeable)
            .Add("MaximizeButton", &W::MaximizeButton, &W::SetMaximizeButton)
            .Add("MinimizeButton", &W::MinimizeButton, &W::SetMinimizeButton)
            .Add("FullScreenButton", &W::FullScreenButton, &W::SetFullScreenButton)
            .Add("Composite", &W::Composite, &W::SetComposite)
            .Add("MacProcID", &W::MacProcID, &W::SetMacProcID)
            .Add("Placement", &W::Placement, &W::SetPlacement)
            .Add("Visible", &W::Visible, &W::SetVisible)
            .Add("LiveResize", &W::LiveResize, &W::SetLiveResize)
            .Add("FullScreen", &W::FullScreen, &W::SetFullScreen)
            .Add("MenuBarVisible", &W::MenuBarVisible, &W::SetMenuBarVisible)
            .Add("HasBackColor", &W::HasBackColor, &W::SetHasBackColor)
            .Add("BackColor", &W::BackColor, &W::SetBackColor);
    return table;
}

void Window::Constructor() {
    CheckUIThread();
    if (constructing_ || constructed_ || closed_) {
        throw RuntimeException(std::string(ClassName()) + " constructed twice");
    }
    constructing_ = true;
    try {
        EnsureWidget();
        Layout();
        CreateControls();
        // By index: an Open handler may register further controls, which then open too.
        for (size_t i = 0; i < controls_.size(); ++i) {
            Ref<Control> control = controls_[i];
            control->RaiseOpen();
        }
        Event_Open();
    } catch (...) {
        // A window that failed to build never opens: its controls stop and its widget goes.
        constructing_ = false;
        closed_ = true;
        UnhookAll();
        ReleaseWidget();
        throw;
    }
    constructing_ = false;
    constructed_ = true;
    if (closed_) {
        return;  // its own Open handler closed it
    }
    open_ = true;
    if (menuBar_.IsNil()) {
        InstallMenus();  // the application's, for its shortcuts
    }
    Registry().emplace_back(this);
    WatchApplicationExit();
    ApplyTabOrder();
    if (visible_) {
        ShowWidget();
    }
}

// --- properties ---

void Window::SetWidth(int64_t width) {
    CheckUIThread();
    width_ = std::max<int64_t>(0, width);
    ApplySize();
}

void Window::SetHeight(int64_t height) {
    CheckUIThread();
    height_ = std::max<int64_t>(0, height);
    ApplySize();
}

void Window::SetMinWidth(int64_t width) {
    CheckUIThread();
    minWidth_ = width;
    ApplySize();
}

void Window::SetMinHeight(int64_t height) {
    CheckUIThread();
    minHeight_ = height;
    ApplySize();
}

void Window::SetMaxWidth(int64_t width) {
    CheckUIThread();
    maxWidth_ = width;
    ApplySize();
}

void Window::SetMaxHeight(int64_t height) {
    CheckUIThread();
    maxHeight_ = height;
    ApplySize();
}

void Window::SetTitle(std::string title) {
    CheckUIThread();
    title_ = std::move(title);
    if (widget_ != nullptr) {
        widget_->setWindowTitle(detail::ToQString(title_));
    }
}

void Window::SetCloseButton(bool on) {
    CheckUIThread();
    closeButton_ = on;
    ApplyFlags();
}

void Window::SetResizeable(bool on) {
    CheckUIThread();
    resizeable_ = on;
    ApplyFlags();
    ApplySize();
}

void Window::SetMaximizeButton(bool on) {
    CheckUIThread();
    maximizeButton_ = on;
    ApplyFlags();
}

void Window::SetMinimizeButton(bool on) {
    CheckUIThread();
    minimizeButton_ = on;
    ApplyFlags();
}

void Window::SetVisible(bool on) {
    CheckUIThread();
    visible_ = on;
    if (!open_ || widget_ == nullptr) {
        return;  // Constructor shows it when it is done
    }
    if (on) {
        ShowWidget();
    } else {
        widget_->hide();
    }
}

void Window::SetMenuBarVisible(bool on) {
    CheckUIThread();
    menuBarVisible_ = on;
    if (widget_ != nullptr && !menuBar_.IsNil()) {
        // The bar installed for menuBar_ stays; only whether it shows changes. Building it again
        // would cost as much as the first time (every menu, action and shortcut).
        if (QWidget* installed = detail::InstalledMenuBar(widget_)) {
            installed->setVisible(menuBarVisible_);
        } else {
            detail::InstallMenuBar(widget_, menuBar_.Get(), menuBarVisible_);
        }
        ApplySize();
    }
}

void Window::SetHasBackColor(bool on) {
    CheckUIThread();
    hasBackColor_ = on;
    ApplyBackground();
}

void Window::SetBackColor(Color color) {
    CheckUIThread();
    backColor_ = color;
    ApplyBackground();
}

// --- showing and closing ---

void Window::Show() {
    CheckUIThread();
    if (closed_) {
        return;
    }
    visible_ = true;
    if (open_) {
        ShowWidget();
    }
}

void Window::Close() {
    CheckUIThread();
    if (closed_) {
        return;
    }
    FaultPoint("Window.Close");
    // The registry's reference may be the last one; this one lasts until Close is done.
    Ref<Window> keep = RefCount() > 0 ? Ref<Window>(this) : Ref<Window>();
    closed_ = true;
    open_ = false;
    if (widget_ != nullptr) {
        // Closed, not just hidden, so that closing the last window ends the run as the close
        // box does. Detached first: its close event must not come back here.
        widget_->Detach();
        widget_->close();
    }
    UnhookAll();
    ReleaseWidget();
    auto& registry = Registry();
    registry.erase(std::remove_if(registry.begin(), registry.end(),
                                  [this](const Ref<Window>& w) { return w.Get() == this; }),
                   registry.end());
}

Ref<fw::MenuBar> Window::MenuBar() const {
    return menuBar_;
}

void Window::SetMenuBar(Ref<fw::MenuBar> bar) {
    CheckUIThread();
    menuBar_ = std::move(bar);
    if (widget_ != nullptr) {
        InstallMenus();
        ApplySize();
    }
}

Ref<Window> Window::_GetImplicitWindow(std::string_view className) {
    CheckUIThread();
    const auto& registry = Registry();
    for (auto it = registry.rbegin(); it != registry.rend(); ++it) {
        if (className == (*it)->ClassName()) {
            return *it;
        }
    }
    return nullptr;
}

std::vector<Ref<Window>> Window::OpenWindows() {
    CheckUIThread();
    return Registry();
}

// --- controls ---

void Window::Adopt(Control& control) {
    if (control.owner_ == this) {
        return;
    }
    if (control.owner_ != nullptr) {
        throw RuntimeException(std::string(control.ClassName()) + " belongs to another window");
    }
    control.owner_ = this;
    members_.push_back(&control);
    if (closed_) {
        control.Unhook();  // a closed window's controls never touch Qt
    }
}

void Window::Forget(Control& control) noexcept {
    members_.erase(std::remove(members_.begin(), members_.end(), &control), members_.end());
}

void Window::_AddControl(const std::string& name, Ref<Control> control) {
    CheckUIThread();
    if (control.IsNil()) {
        throw NilObjectException("control to add is nil");
    }
    Adopt(*control);
    control->SetName(name);
    if (std::find(controls_.begin(), controls_.end(), control) == controls_.end()) {
        controls_.push_back(std::move(control));
    }
}

Ref<Control> Window::_ControlByName(std::string_view name) const {
    for (const auto& control : controls_) {
        if (control->Name() == name) {
            return control;
        }
    }
    return nullptr;
}

Ref<Control> Window::_ControlByNameIndex(std::string_view name, int64_t index) const {
    for (const auto& control : controls_) {
        if (control->Name() == name && control->Index() == index) {
            return control;
        }
    }
    return nullptr;
}

// --- the widget ---

QWidget* Window::ContentWidget() {
    EnsureWidget();
    return content_;
}

void Window::EnsureWidget() {
    if (widget_ != nullptr || closed_) {
        return;
    }
    CheckUIThread();
    widget_ = new detail::WindowWidget(*this);
    content_ = widget_->Content();
    widget_->setWindowTitle(detail::ToQString(title_));
    ApplyFlags();
    if (!menuBar_.IsNil()) {
        InstallMenus();
    }
    ApplySize();
    ApplyBackground();
}

void Window::InstallMenus() {
    if (!menuBar_.IsNil()) {
        detail::InstallMenuBar(widget_, menuBar_.Get(), menuBarVisible_);
        return;
    }
    // The application's menu shortcuts work whichever window is in front, as an application-wide
    // menu bar's do: a window without a bar of its own gets the application's, hidden.
    const Application* app = CurrentApplication();
    detail::InstallMenuBar(widget_, app != nullptr ? app->MenuBar().Get() : nullptr, false);
}

void Window::ApplyFlags() {
    if (widget_ == nullptr) {
        return;
    }
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeButton_) {
        flags |= Qt::WindowCloseButtonHint;
    }
    if (minimizeButton_) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (maximizeButton_ && resizeable_) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    if (flags == widget_->windowFlags()) {
        return;
    }
    // Changing the flags of a shown window hides it; show it again.
    const bool shown = widget_->isVisible();
    widget_->setWindowFlags(flags);
    if (shown) {
        widget_->show();
    }
}

int Window::MenuBarHeight() const {
    return widget_ != nullptr ? widget_->MenuBarHeight() : 0;
}

void Window::ApplySize() {
    if (widget_ == nullptr) {
        return;
    }
    const int bar = MenuBarHeight();
    const int width = WidgetSize(width_);
    // The frame's height: the content's and the bar's, within what a widget can be.
    const auto frameHeight = [bar](int64_t contentHeight) {
        return WidgetSize(detail::SaturatingAdd(contentHeight, bar));
    };
    if (resizeable_) {
        widget_->setMinimumSize(WidgetSize(minWidth_), frameHeight(minHeight_));
        widget_->setMaximumSize(WidgetSize(std::max(maxWidth_, minWidth_)),
                                frameHeight(std::max(maxHeight_, minHeight_)));
        widget_->resize(width, frameHeight(height_));
    } else {
        // Not resizable by the user; the program still sets the size.
        widget_->setFixedSize(width, frameHeight(height_));
    }
    widget_->LayoutChildren();
    // The limits may have kept the size from what was asked.
    ContentResized(content_->width(), content_->height());
}

void Window::ApplyBackground() {
    if (content_ == nullptr) {
        return;
    }
    content_->setAutoFillBackground(hasBackColor_);
    QPalette palette = content_->palette();
    if (hasBackColor_) {
        palette.setColor(QPalette::Window, detail::ToQColor(backColor_));
    } else {
        palette.setColor(QPalette::Window, QApplication::palette(content_).color(QPalette::Window));
    }
    content_->setPalette(palette);
}

void Window::ApplyTabOrder() {
    std::vector<RectControl*> order;
    for (const auto& control : controls_) {
        auto* rect = dynamic_cast<RectControl*>(control.Get());
        if (rect != nullptr && rect->Widget() != nullptr &&
            (rect->Widget()->focusPolicy() & Qt::TabFocus) != 0) {
            order.push_back(rect);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [](RectControl* a, RectControl* b) { return a->TabIndex() < b->TabIndex(); });
    for (size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1]->Widget(), order[i]->Widget());
    }
}

void Window::ShowWidget() {
    if (widget_ == nullptr) {
        return;
    }
    // A window that shows for the first time comes up in front anyway; one already showing is
    // brought there.
    const bool wasShowing = widget_->isVisible();
    widget_->show();
    if (wasShowing) {
        widget_->raise();
    }
    widget_->activateWindow();
}

void Window::UnhookAll() noexcept {
    // A copy: unhooking must not depend on the list staying put.
    const std::vector<Control*> members = members_;
    for (Control* member : members) {
        if (!member->IsUnhooked()) {
            member->Unhook();
        }
    }
}

void Window::ReleaseWidget() noexcept {
    if (widget_ == nullptr) {
        return;
    }
    widget_->Detach();
    // Without an application there is no Qt left to hand the widget back to.
    if (QCoreApplication::instance() != nullptr) {
        widget_->hide();
        // Later, not now: this may run inside an event of one of the window's own widgets (an
        // OK button that closes its window).
        widget_->deleteLater();
    }
    widget_ = nullptr;
    content_ = nullptr;
}

void Window::ContentResized(int64_t width, int64_t height) {
    const int64_t dx = width - width_;
    const int64_t dy = height - height_;
    width_ = width;
    height_ = height;
    if (dx == 0 && dy == 0) {
        return;
    }
    for (const auto& control : controls_) {
        if (auto* rect = dynamic_cast<RectControl*>(control.Get()); rect != nullptr) {
            rect->FollowWindowResize(dx, dy);
        }
    }
}

bool Window::PressButtonForKey(bool isReturn) {
    for (const auto& control : controls_) {
        auto* button = dynamic_cast<PushButton*>(control.Get());
        if (button != nullptr && (isReturn ? button->Default() : button->Cancel()) &&
            button->CanBePressed()) {
            button->Push();
            return true;
        }
    }
    return false;
}

namespace testing {

QWidget* WidgetOf(const Window& window) {
    return window.widget_;
}

QWidget* ContentWidgetOf(const Window& window) {
    return window.content_;
}

}  // namespace testing
}  // namespace fw
