// Delegates and event handlers: signatures checked when attached, calls through the dispatcher
// holding what the handler may drop.
#include <gtest/gtest.h>

#include <QTest>

#include "fw/core/Dispatch.h"
#include "fw/ui/Label.h"
#include "fw/ui/TestAccess.h"
#include "tests/support/WidgetTestWindow.h"

namespace {

using fw::Ref;
using fw::testing::TestWindow;

int freeActions = 0;
void FreeAction(Ref<fw::PushButton>) {
    ++freeActions;
}
void ActionWithInt(Ref<fw::PushButton>, int) {}
bool MouseDownLike(Ref<fw::PushButton>, int64_t, int64_t) {
    return true;
}

class EventTest : public ::testing::Test {
protected:
    void TearDown() override { fw::testing::CloseAllWindows(); }
};

TEST_F(EventTest, HandlersAreAttachedOnlyToAnEventOfTheirSignature) {
    enum class Outcome { Attached, WrongSignature, NoSuchEvent };
    auto window = fw::MakeRef<TestWindow>();
    struct Case {
        const char* name;
        std::function<Ref<fw::Control>()> control;
        int event;
        Ref<fw::Delegate> handler;
        Outcome outcome;
    } cases[] = {
        {"field Open", [] { return Ref<fw::Control>(fw::TextField::Create()); }, fw::kOpenEvent,
         fw::RuntimeCreateDelegate(window.Get(), &TestWindow::FieldOpen), Outcome::Attached},
        {"area Open", [] { return Ref<fw::Control>(fw::TextArea::Create()); }, fw::kOpenEvent,
         fw::RuntimeCreateDelegate(window.Get(), &TestWindow::AreaOpen), Outcome::Attached},
        {"button Action, free function", [] { return Ref<fw::Control>(fw::PushButton::Create()); },
         fw::kActionEvent, fw::RuntimeCreateDelegate(&FreeAction), Outcome::Attached},
        {"timer Action", [] { return Ref<fw::Control>(fw::Timer::Create()); },
         fw::kTimerActionEvent, fw::RuntimeCreateDelegate(window.Get(), &TestWindow::TimerAction),
         Outcome::Attached},
        {"field Open with an area's handler",
         [] { return Ref<fw::Control>(fw::TextField::Create()); }, fw::kOpenEvent,
         fw::RuntimeCreateDelegate(window.Get(), &TestWindow::AreaOpen), Outcome::WrongSignature},
        {"area Open with a field's handler",
         [] { return Ref<fw::Control>(fw::TextArea::Create()); }, fw::kOpenEvent,
         fw::RuntimeCreateDelegate(window.Get(), &TestWindow::FieldOpen), Outcome::WrongSignature},
        {"button Action with a timer's handler",
         [] { return Ref<fw::Control>(fw::PushButton::Create()); }, fw::kActionEvent,
         fw::RuntimeCreateDelegate(window.Get(), &TestWindow::TimerAction),
         Outcome::WrongSignature},
        {"timer Action with a button's handler",
         [] { return Ref<fw::Control>(fw::Timer::Create()); }, fw::kTimerActionEvent,
         fw::RuntimeCreateDelegate(window.Get(), &TestWindow::ButtonAction),
         Outcome::WrongSignature},
        {"button Action with an extra int",
         [] { return Ref<fw::Control>(fw::PushButton::Create()); }, fw::kActionEvent,
         fw::RuntimeCreateDelegate(&ActionWithInt), Outcome::WrongSignature},
        {"button Action returning a Boolean",
         [] { return Ref<fw::Control>(fw::PushButton::Create()); }, fw::kActionEvent,
         fw::RuntimeCreateDelegate(&MouseDownLike), Outcome::WrongSignature},
        {"button Open", [] { return Ref<fw::Control>(fw::PushButton::Create()); }, fw::kOpenEvent,
         fw::RuntimeCreateDelegate(&FreeAction), Outcome::NoSuchEvent},
        {"timer Open", [] { return Ref<fw::Control>(fw::Timer::Create()); }, fw::kOpenEvent,
         fw::RuntimeCreateDelegate(window.Get(), &TestWindow::TimerAction), Outcome::NoSuchEvent},
        {"label Open", [] { return Ref<fw::Control>(fw::Label::Create()); }, fw::kOpenEvent,
         fw::RuntimeCreateDelegate(window.Get(), &TestWindow::FieldOpen), Outcome::NoSuchEvent},
        {"field Paint", [] { return Ref<fw::Control>(fw::TextField::Create()); }, fw::kPaintEvent,
         fw::RuntimeCreateDelegate(window.Get(), &TestWindow::FieldOpen), Outcome::NoSuchEvent},
    };
    for (const auto& c : cases) {
        Ref<fw::Control> control = c.control();
        switch (c.outcome) {
            case Outcome::Attached:
                EXPECT_NO_THROW(fw::RuntimeAddEventHandler(*control, c.event, c.handler)) << c.name;
                EXPECT_TRUE(control->HasEventHandler(c.event)) << c.name;
                // One handler per event.
                EXPECT_THROW(fw::RuntimeAddEventHandler(*control, c.event, c.handler),
                             fw::RuntimeException)
                    << c.name;
                break;
            case Outcome::WrongSignature:
                EXPECT_THROW(fw::RuntimeAddEventHandler(*control, c.event, c.handler),
                             fw::IllegalCastException)
                    << c.name;
                EXPECT_FALSE(control->HasEventHandler(c.event)) << c.name;
                break;
            case Outcome::NoSuchEvent:
                try {
                    fw::RuntimeAddEventHandler(*control, c.event, c.handler);
                    ADD_FAILURE() << c.name << " was attached";
                } catch (const fw::IllegalCastException&) {
                    ADD_FAILURE() << c.name << ": a missing event is no cast failure";
                } catch (const fw::RuntimeException&) {
                }
                EXPECT_FALSE(control->HasEventHandler(c.event)) << c.name;
                break;
        }
    }
    EXPECT_THROW(fw::RuntimeAddEventHandler(*fw::PushButton::Create(), fw::kActionEvent, nullptr),
                 fw::NilObjectException);
    EXPECT_EQ(window->RefCount(), 1) << "delegates hold their target by raw pointer";
}

TEST_F(EventTest, DelegatesCallOnlyThroughTheirOwnSignature) {
    auto free = fw::RuntimeCreateDelegate(&FreeAction);
    EXPECT_EQ(free->Function<void(Ref<fw::PushButton>)>(), &FreeAction);
    EXPECT_THROW(free->Function<void(Ref<fw::Timer>)>(), fw::IllegalCastException);
    freeActions = 0;
    free->Invoke<void, Ref<fw::PushButton>>(nullptr);
    EXPECT_EQ(freeActions, 1);
    EXPECT_THROW((free->Invoke<void, Ref<fw::Control>>(nullptr)), fw::IllegalCastException);
    EXPECT_EQ(freeActions, 1);

    auto window = fw::MakeRef<TestWindow>();
    auto method = fw::RuntimeCreateDelegate(window, &TestWindow::TimerAction);
    EXPECT_EQ(method->Target(), window.Get());
    EXPECT_THROW(method->Function<void(Ref<fw::Timer>)>(), fw::IllegalCastException)
        << "a method has no free-function pointer";
    EXPECT_THROW(fw::RuntimeCreateDelegate(Ref<TestWindow>(), &TestWindow::TimerAction),
                 fw::NilObjectException);
}

TEST_F(EventTest, ActionHoldsTheWindowAndTheControlDuringTheCall) {
    auto window = fw::MakeRef<TestWindow>();  // not open: only the test holds it
    auto button = window->__New<fw::PushButton>();
    window->_AddControl("Start", button);
    fw::RuntimeAddEventHandler(*button, fw::kActionEvent,
                               fw::RuntimeCreateDelegate(window, &TestWindow::ButtonAction));
    int64_t windowCount = 0;
    int64_t buttonCount = 0;
    window->onAction = [&](TestWindow& self) {
        windowCount = self.RefCount();
        buttonCount = self._ControlByName("Start")->RefCount() - 1;  // less the lookup's own
    };
    button->Push();
    EXPECT_GT(windowCount, 1);
    EXPECT_GT(buttonCount, 2) << "the window's, the test's and the dispatcher's";
    EXPECT_EQ(window->RefCount(), 1);
    EXPECT_EQ(button->RefCount(), 2);
}

TEST_F(EventTest, TimerFireRaisesActionThroughTheDispatcher) {
    auto window = fw::MakeRef<TestWindow>();
    auto timer = window->__New<fw::Timer>();
    window->_AddControl("MyTimer", timer);
    fw::RuntimeAddEventHandler(*timer, fw::kTimerActionEvent,
                               fw::RuntimeCreateDelegate(+[](Ref<fw::Timer> t) {
                                   if (t->Period() < 0) {
                                       throw fw::OutOfBoundsException();
                                   }
                                   t->SetName("ticked");
                               }));
    timer->Fire();
    EXPECT_EQ(timer->Name(), "ticked");

    const int before = fw::testing::UnhandledExceptionCount();
    timer->SetPeriod(-1);
    EXPECT_NO_THROW(timer->Fire());
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
}

// Its handlers count their calls without touching the window, so that a call that still got
// through after the window has gone shows in the count (and under ASan as a use after free).
class CountingWindow : public TestWindow {
public:
    static inline int calls = 0;
    void Tick(Ref<fw::Timer>) { ++calls; }
    void Press(Ref<fw::PushButton>) { ++calls; }
};

// A control of a closed window raises nothing: neither while the window object lives on nor
// after it has gone, when the handler's target would be freed memory. The window takes the
// handlers with it.
TEST_F(EventTest, ControlsOfAClosedWindowRaiseNoMoreEvents) {
    struct Case {
        const char* name;
        int event;
        std::function<Ref<fw::Control>(CountingWindow&)> add;
        std::function<void(fw::Control&)> raise;
    } cases[] = {
        {"timer Fire", fw::kTimerActionEvent,
         [](CountingWindow& w) {
             auto timer = w.__New<fw::Timer>();
             w._AddControl("Ticker", timer);
             fw::RuntimeAddEventHandler(*timer, fw::kTimerActionEvent,
                                        fw::RuntimeCreateDelegate(&w, &CountingWindow::Tick));
             return Ref<fw::Control>(timer);
         },
         [](fw::Control& c) { static_cast<fw::Timer&>(c).Fire(); }},
        {"button Push", fw::kActionEvent,
         [](CountingWindow& w) {
             auto button = w.Add<fw::PushButton>("Start");
             fw::RuntimeAddEventHandler(*button, fw::kActionEvent,
                                        fw::RuntimeCreateDelegate(&w, &CountingWindow::Press));
             return Ref<fw::Control>(button);
         },
         [](fw::Control& c) { static_cast<fw::PushButton&>(c).Push(); }},
    };
    for (const auto& c : cases) {
        CountingWindow::calls = 0;
        Ref<fw::Control> control;
        auto window = fw::MakeRef<CountingWindow>();
        window->onCreateControls = [&](TestWindow&) { control = c.add(*window); };
        window->Constructor();
        c.raise(*control);
        EXPECT_EQ(CountingWindow::calls, 1) << c.name << " while open";

        window->Close();
        c.raise(*control);
        EXPECT_EQ(CountingWindow::calls, 1) << c.name << " after Close";
        EXPECT_EQ(window->RefCount(), 1) << c.name;
        window.Reset();  // the window goes; the test still holds the control
        fw::testing::FlushDeferredDeletes();
        EXPECT_FALSE(control->HasEventHandler(c.event)) << c.name;
        c.raise(*control);
        EXPECT_EQ(CountingWindow::calls, 1) << c.name << " after the window has gone";
    }
}

}  // namespace
