#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "fw/core/Color.h"
#include "fw/core/FaultPoint.h"
#include "fw/core/Object.h"
#include "fw/core/Thread.h"
#include "fw/properties/PropertyTable.h"
#include "fw/ui/Control.h"

class QWidget;

namespace fw {

class MenuBar;
class RectControl;
class Window;

namespace detail {
class WindowWidget;
}
namespace testing {
QWidget* WidgetOf(const Window& window);
QWidget* ContentWidgetOf(const Window& window);
}  // namespace testing

// A top-level window and the controls it owns.
//
// Construction (Constructor) raises, in this order: Layout, CreateControls, each registered
// control's Open in creation order, the window's Event_Open; then the window counts as open (the
// framework holds it, _GetImplicitWindow finds it) and shows itself when Visible. An exception
// from any step reaches the caller of Constructor and the window is not registered.
//
// Close (also the close box) closes the window's widget (the last window closing ends the run,
// however it closes), unhooks its controls (they stop touching Qt and raising events, timers
// stop), lets its widgets go and removes it from the open windows. A closed window stays
// closed. Its controls stay reachable through the lookups until the object itself goes.
//
// Width and Height are the content size: the area the controls lie in, below a visible menu
// bar. Values set before Constructor are kept and applied when the widget is made.
class Window : public Object, public PropertyHolder {
public:
    Window();
    ~Window() override;

    void Constructor();

    int64_t Width() const noexcept { return width_; }
    void SetWidth(int64_t width);
    int64_t Height() const noexcept { return height_; }
    void SetHeight(int64_t height);
    // The size limits apply while the window is resizable.
    int64_t MinWidth() const noexcept { return minWidth_; }
    void SetMinWidth(int64_t width);
    int64_t MinHeight() const noexcept { return minHeight_; }
    void SetMinHeight(int64_t height);
    int64_t MaxWidth() const noexcept { return maxWidth_; }
    void SetMaxWidth(int64_t width);
    int64_t MaxHeight() const noexcept { return maxHeight_; }
    void SetMaxHeight(int64_t height);
    // The kind of window; every kind is a normal document window here.
    int64_t Frame() const noexcept { return frame_; }
    void SetFrame(int64_t frame) { frame_ = frame; }
    const std::string& Title() const noexcept { return title_; }
    void SetTitle(std::string title);
    bool CloseButton() const noexcept { return closeButton_; }
    void SetCloseButton(bool on);
    bool Resizeable() const noexcept { return resizeable_; }
    void SetResizeable(bool on);
    bool MaximizeButton() const noexcept { return maximizeButton_; }
    void SetMaximizeButton(bool on);
    bool MinimizeButton() const noexcept { return minimizeButton_; }
    void SetMinimizeButton(bool on);
    // Kept for the program's sake: platform settings with no meaning on this toolkit.
    bool FullScreenButton() const noexcept { return fullScreenButton_; }
    void SetFullScreenButton(bool on) { fullScreenButton_ = on; }
    bool Composite() const noexcept { return composite_; }
    void SetComposite(bool on) { composite_ = on; }
    int64_t MacProcID() const noexcept { return macProcID_; }
    void SetMacProcID(int64_t id) { macProcID_ = id; }
    // Where the window first appears; the window system's default placement for every value.
    int64_t Placement() const noexcept { return placement_; }
    void SetPlacement(int64_t placement) { placement_ = placement; }
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool on);
    bool LiveResize() const noexcept { return liveResize_; }
    void SetLiveResize(bool on) { liveResize_ = on; }
    // Kept; the window is never made full screen by this setting.
    bool FullScreen() const noexcept { return fullScreen_; }
    void SetFullScreen(bool on) { fullScreen_ = on; }
    // Whether the menu bar shows in the window; its shortcuts work either way.
    bool MenuBarVisible() const noexcept { return menuBarVisible_; }
    void SetMenuBarVisible(bool on);
    bool HasBackColor() const noexcept { return hasBackColor_; }
    void SetHasBackColor(bool on);
    Color BackColor() const noexcept { return backColor_; }
    void SetBackColor(Color color);

    // Shows the window and brings it to the front (modeless). Does nothing to a closed window.
    void Show();
    void Close();
    // Constructed and not closed.
    bool IsOpen() const noexcept { return open_; }

    // The window's own menu bar. A window without one still answers the shortcuts of the
    // application's bar (Application::MenuBar, as it was when the window opened).
    Ref<fw::MenuBar> MenuBar() const;
    void SetMenuBar(Ref<fw::MenuBar> bar);

    // The most recently opened window whose ClassName() is className, or nil.
    static Ref<Window> _GetImplicitWindow(std::string_view className);
    // The open windows, oldest first.
    static std::vector<Ref<Window>> OpenWindows();

    // A new control object of class C belonging to this window (not yet constructed or
    // registered).
    template <class C>
    requires std::is_base_of_v<Control, C> Ref<C> __New() {
        CheckUIThread();
        FaultPoint("Window.__New");
        Ref<C> control(new C());
        Adopt(*control);
        return control;
    }

    // Registers control under name (which becomes its Name); the window holds it from now on.
    // NilObjectException for nil, RuntimeException for a control of another window,
    // ThreadAccessingUIException off the user-interface thread.
    void _AddControl(const std::string& name, Ref<Control> control);
    // The first registered control of that name (and index), or nil.
    Ref<Control> _ControlByName(std::string_view name) const;
    Ref<Control> _ControlByNameIndex(std::string_view name, int64_t index) const;
    // The registered controls in creation order.
    const std::vector<Ref<Control>>& Controls() const noexcept { return controls_; }

    const char* ClassName() const noexcept override { return "Window"; }

    FW_PROPERTY_TABLE(Window)

protected:
    // The window's events during Constructor; the game's window classes override them.
    virtual void Layout() {}
    virtual void CreateControls() {}
    virtual void Event_Open() {}

private:
    friend class Control;
    friend class RectControl;
    friend class detail::WindowWidget;
    friend QWidget* testing::WidgetOf(const Window& window);
    friend QWidget* testing::ContentWidgetOf(const Window& window);

    void Adopt(Control& control);
    void Forget(Control& control) noexcept;
    // The widget controls are created in; made on first need.
    QWidget* ContentWidget();
    void EnsureWidget();
    void ApplyFlags();
    void ApplySize();
    void ApplyBackground();
    void ApplyTabOrder();
    // Gives the widget the window's menu bar, or the application's (hidden) when the window has
    // none of its own.
    void InstallMenus();
    int MenuBarHeight() const;
    void ShowWidget();
    void UnhookAll() noexcept;
    void ReleaseWidget() noexcept;
    // The content now has this size, whoever resized it; the controls follow their locks.
    void ContentResized(int64_t width, int64_t height);
    // From the widget: Return/Enter or Escape reached the window.
    bool PressButtonForKey(bool isReturn);

    detail::WindowWidget* widget_ = nullptr;
    QWidget* content_ = nullptr;
    std::vector<Control*> members_;       // every control whose Owner is this window
    std::vector<Ref<Control>> controls_;  // the registered ones, in creation order
    Ref<fw::MenuBar> menuBar_;
    bool constructing_ = false;
    bool constructed_ = false;
    bool open_ = false;
    bool closed_ = false;

    int64_t width_ = 300;
    int64_t height_ = 300;
    int64_t minWidth_ = 64;
    int64_t minHeight_ = 64;
    int64_t maxWidth_ = 32000;
    int64_t maxHeight_ = 32000;
    int64_t frame_ = 0;
    std::string title_;
    bool closeButton_ = true;
    bool resizeable_ = true;
    bool maximizeButton_ = true;
    bool minimizeButton_ = true;
    bool fullScreenButton_ = false;
    bool composite_ = false;
    int64_t macProcID_ = 0;
    int64_t placement_ = 0;
    bool visible_ = true;
    bool liveResize_ = false;
    bool fullScreen_ = false;
    bool menuBarVisible_ = true;
    bool hasBackColor_ = false;
    Color backColor_{0x00FFFFFF};
};

}  // namespace fw
