#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <typeinfo>
#include <utility>

#include "fw/core/Dispatch.h"
#include "fw/core/Object.h"
#include "fw/properties/PropertyTable.h"
#include "fw/ui/Event.h"

namespace fw {

class Window;

// Index of a control that belongs to no control set.
inline constexpr int64_t kNoControlSetIndex = std::numeric_limits<int32_t>::min();

// The root of everything a window holds: a name, a control-set index, the owning window and the
// handlers attached to the control's events.
//
// Life cycle: Window::__New makes the control and ties it to the window (Owner); the window's
// _AddControl registers it and from then on holds it. When the window closes or goes away it
// unhooks the control: the control drops its widget (or stops its timer), never touches Qt
// again and raises no more events, although the object may live on in a reference somebody
// keeps. A window that goes also drops its controls' handlers, which may point at it.
class Control : public Object, public PropertyHolder {
public:
    Control();
    ~Control() override;

    int64_t Index() const noexcept { return index_; }
    void SetIndex(int64_t index) { index_ = index; }
    const std::string& Name() const noexcept { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // The window the control belongs to; null once the window has gone.
    Window* Owner() const noexcept { return owner_; }

    // See RuntimeAddEventHandler.
    void AddEventHandler(int eventNumber, Ref<Delegate> handler);
    bool HasEventHandler(int eventNumber) const noexcept {
        return handlers_.count(eventNumber) != 0;
    }

    const char* ClassName() const noexcept override { return "Control"; }

    FW_PROPERTY_TABLE(Control)

protected:
    // The handler signature of each event the class has, or null when it has no such event.
    virtual const std::type_info* EventSignature(int eventNumber) const;

    // Raises the control's Open event; the window calls it once, after its CreateControls. An
    // exception goes to whoever constructs the window.
    virtual void RaiseOpen() {}

    // Stops touching Qt for good: the window is closing or going away. Subclasses drop their
    // widget or timer here and then call the base.
    virtual void Unhook() { unhooked_ = true; }
    bool IsUnhooked() const noexcept { return unhooked_; }

    // Calls the handler attached to the event with args, holding references to the handler
    // and its target for the call. Without a handler, or once the control is unhooked (its
    // window has closed or gone, and with it perhaps the handler's target), it returns R's
    // default (false for MouseDown). An exception of the handler passes through.
    template <class R, class... A>
    R RaiseEvent(int eventNumber, A... args) {
        if (unhooked_) {
            return R();
        }
        auto it = handlers_.find(eventNumber);
        if (it == handlers_.end()) {
            return R();
        }
        Ref<Delegate> handler = it->second;
        KeepAlive target(handler->Target());
        return handler->template Invoke<R, A...>(std::move(args)...);
    }

    // Runs body for a Qt callback: through fw::Dispatch (nothing escapes into Qt), holding a
    // reference to this control and to its window for the call, since a handler may close the
    // window and drop the last reference to both.
    template <class F>
    void Deliver(F&& body) noexcept {
        Protector protect(*this);
        Dispatch(body);
    }

private:
    friend class Window;

    // Holds a reference to an object that somebody already references, for the length of a call.
    class KeepAlive {
    public:
        explicit KeepAlive(Object* object) noexcept;
        ~KeepAlive();
        KeepAlive(const KeepAlive&) = delete;
        KeepAlive& operator=(const KeepAlive&) = delete;

    private:
        Object* object_;
    };

    class Protector {
    public:
        explicit Protector(Control& control) noexcept;
        ~Protector();
        Protector(const Protector&) = delete;
        Protector& operator=(const Protector&) = delete;

    private:
        KeepAlive control_;
        KeepAlive window_;
    };

    Window* owner_ = nullptr;
    bool unhooked_ = false;
    int64_t index_ = kNoControlSetIndex;
    std::string name_;
    std::map<int, Ref<Delegate>> handlers_;
};

}  // namespace fw
