#pragma once

// A window for the widget tests: its Layout, CreateControls and Open run whatever the test
// gives them, and its handlers log what reached them.
#include <QCoreApplication>
#include <QEvent>
#include <functional>
#include <string>
#include <vector>

#include "fw/ui/PushButton.h"
#include "fw/ui/TextArea.h"
#include "fw/ui/TextField.h"
#include "fw/ui/Timer.h"
#include "fw/ui/Window.h"

namespace fw::testing {

class TestWindow : public Window {
public:
    std::function<void(TestWindow&)> onLayout;
    std::function<void(TestWindow&)> onCreateControls;
    std::function<void(TestWindow&)> onOpen;
    std::function<void(TestWindow&)> onAction;  // run by ButtonAction after logging
    std::vector<std::string> log;

    const char* ClassName() const noexcept override { return "TestWindow.TestWindow"; }

    void FieldOpen(Ref<TextField> field) { log.push_back("Open " + field->Name()); }
    void AreaOpen(Ref<TextArea> area) { log.push_back("Open " + area->Name()); }
    void ButtonAction(Ref<PushButton> button) {
        log.push_back("Action " + button->Name());
        if (onAction) {
            onAction(*this);
        }
    }
    void TimerAction(Ref<Timer> timer) { log.push_back("Tick " + timer->Name()); }

    // Makes, constructs and registers a control the way the game's CreateControls does.
    template <class C>
    Ref<C> Add(const std::string& name) {
        Ref<C> control = __New<C>();
        control->Constructor();
        _AddControl(name, control);
        return control;
    }

protected:
    void Layout() override {
        log.push_back("Layout");
        if (onLayout) {
            onLayout(*this);
        }
    }
    void CreateControls() override {
        log.push_back("CreateControls");
        if (onCreateControls) {
            onCreateControls(*this);
        }
    }
    void Event_Open() override {
        log.push_back("Window Open");
        if (onOpen) {
            onOpen(*this);
        }
    }
};

// Lets the widgets that closed windows handed to deleteLater go.
inline void FlushDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Closes whatever a test left open.
inline void CloseAllWindows() {
    for (const auto& window : Window::OpenWindows()) {
        window->Close();
    }
    FlushDeferredDeletes();
}

}  // namespace fw::testing
