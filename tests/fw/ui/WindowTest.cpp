// Windows on real widgets: the declared window list, the order of construction, closing and
// the open-window registry, reference counts, the default button and handler failures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <thread>

#include "fw/core/Dispatch.h"
#include "fw/core/FaultPoint.h"
#include "fw/menus/Menu.h"
#include "fw/menus/MenuInstall.h"
#include "fw/properties/PropertyList.h"
#include "fw/ui/Canvas.h"
#include "fw/ui/TestAccess.h"
#include "tests/support/MainWindowList.h"
#include "tests/support/WidgetTestWindow.h"

namespace {

using fw::PropertyEntry;
using fw::Ref;
using fw::testing::TestWindow;
using fw::testing::WidgetOf;

class WindowTest : public ::testing::Test {
protected:
    void TearDown() override { fw::testing::CloseAllWindows(); }
};

const std::vector<PropertyEntry> kMainWindowList = karuta_test::MainWindowList();

Ref<TestWindow> WindowWithList(const std::vector<PropertyEntry>& list) {
    auto window = fw::MakeRef<TestWindow>();
    const std::string encoded = fw::WritePropertyList(list);
    window->onLayout = [encoded](TestWindow& self) {
        fw::RuntimeMassPropertySetter(self, encoded);
    };
    return window;
}

TEST_F(WindowTest, MainWindowListReadsBackAndShapesTheWidget) {
    auto window = WindowWithList(kMainWindowList);
    window->Constructor();

    for (const auto& entry : kMainWindowList) {
        auto value = window->GetProperty(entry.name);
        ASSERT_TRUE(value.has_value()) << entry.name;
        EXPECT_EQ(*value, entry.value) << entry.name;
    }
    QWidget* top = WidgetOf(*window);
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(top->isVisible());
    EXPECT_EQ(top->windowTitle(), QString::fromUtf8("ソラネリ(Mac)"));
    EXPECT_EQ(top->size(), QSize(560, 562));
    EXPECT_EQ(top->minimumSize(), top->maximumSize()) << "not resizable";
    EXPECT_TRUE(top->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(top->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(top->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QWidget* content = fw::testing::ContentWidgetOf(*window);
    EXPECT_EQ(content->geometry(), QRect(0, 0, 560, 562));
    EXPECT_TRUE(content->autoFillBackground());
    EXPECT_EQ(content->palette().color(QPalette::Window), QColor(255, 128, 0));

    // What the game's open handler does to the fixed-size window.
    window->SetHeight(510);
    window->SetWidth(570);
    EXPECT_EQ(top->size(), QSize(570, 510));
    EXPECT_EQ(top->minimumSize(), QSize(570, 510));
    EXPECT_EQ(top->maximumSize(), QSize(570, 510));
    EXPECT_EQ(window->Width(), 570);
    EXPECT_EQ(window->Height(), 510);
}

TEST_F(WindowTest, ResizableWindowKeepsItsLimitsAndFrameworkBackground) {
    auto window = WindowWithList({{"Width", int64_t{388}},
                                  {"Height", int64_t{100}},
                                  {"MinWidth", int64_t{64}},
                                  {"MinHeight", int64_t{64}},
                                  {"MaxWidth", int64_t{32000}},
                                  {"MaxHeight", int64_t{32000}},
                                  {"Title", std::string()},
                                  {"Resizeable", true},
                                  {"MaximizeButton", true},
                                  {"HasBackColor", false},
                                  {"BackColor", fw::RGB(255, 255, 255)}});
    window->Constructor();
    QWidget* top = WidgetOf(*window);
    EXPECT_EQ(top->size(), QSize(388, 100));
    EXPECT_EQ(top->minimumSize(), QSize(64, 64));
    EXPECT_EQ(top->maximumSize(), QSize(32000, 32000));
    EXPECT_TRUE(top->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(fw::testing::ContentWidgetOf(*window)->autoFillBackground());

    window->SetWidth(20);  // below the minimum
    EXPECT_EQ(window->Width(), 64);
    EXPECT_EQ(top->width(), 64);
}

// A box that stands for any control with a widget.
class Box : public fw::RectControl {
protected:
    QWidget* CreateWidget(QWidget* parent) override { return new QWidget(parent); }
};

TEST_F(WindowTest, LockedControlsFollowTheWindowEdges) {
    struct Case {
        bool left, top, right, bottom;
        QRect expected;  // after the window grows by 50 x 20 from 300 x 200
    } cases[] = {
        {false, false, false, false, QRect(100, 50, 40, 30)},
        {true, true, false, false, QRect(100, 50, 40, 30)},
        {false, false, true, false, QRect(150, 50, 40, 30)},
        {true, false, true, false, QRect(100, 50, 90, 30)},
        {false, false, false, true, QRect(100, 70, 40, 30)},
        {false, true, true, true, QRect(150, 50, 40, 50)},
    };
    for (const auto& c : cases) {
        auto window = fw::MakeRef<TestWindow>();
        Ref<Box> box;
        window->onLayout = [](TestWindow& self) {
            self.SetWidth(300);
            self.SetHeight(200);
        };
        window->onCreateControls = [&](TestWindow& self) {
            box = self.Add<Box>("Box");
            box->SetLeft(100);
            box->SetTop(50);
            box->SetWidth(40);
            box->SetHeight(30);
            box->SetLockLeft(c.left);
            box->SetLockTop(c.top);
            box->SetLockRight(c.right);
            box->SetLockBottom(c.bottom);
        };
        window->Constructor();
        WidgetOf(*window)->resize(350, 220);  // as the user drags the corner
        EXPECT_EQ(window->Width(), 350);
        EXPECT_EQ(QRect(box->Left(), box->Top(), box->Width(), box->Height()), c.expected)
            << c.left << c.top << c.right << c.bottom;
        EXPECT_EQ(WidgetOf(*box)->geometry(), c.expected);
        window->Close();
    }
}

TEST_F(WindowTest, AVisibleMenuBarSitsAboveTheContentAndAHiddenOneTakesNoRoom) {
    for (bool barVisible : {false, true}) {
        auto bar = fw::MakeRef<fw::MenuBar>();
        auto file = fw::MakeRef<fw::MenuItem>();
        file->SetText("&File");
        auto quit = fw::MakeRef<fw::QuitMenuItem>();
        quit->SetText("Quit");
        quit->SetKeyboardShortcut("Cmd+Q");
        file->Append(quit);
        bar->Append(file);
        auto window = WindowWithList({{"Width", int64_t{300}},
                                      {"Height", int64_t{200}},
                                      {"Resizeable", false},
                                      {"MenuBarVisible", barVisible}});
        window->SetMenuBar(bar);
        window->Constructor();

        QWidget* top = WidgetOf(*window);
        QWidget* installed = fw::detail::InstalledMenuBar(top);
        ASSERT_NE(installed, nullptr) << barVisible;
        const int barHeight = barVisible ? installed->sizeHint().height() : 0;
        EXPECT_EQ(installed->isHidden(), !barVisible);
        EXPECT_EQ(fw::testing::ContentWidgetOf(*window)->geometry(), QRect(0, barHeight, 300, 200))
            << barVisible;
        EXPECT_EQ(top->size(), QSize(300, 200 + barHeight));
        EXPECT_EQ(window->MenuBar(), bar);

        window->SetMenuBarVisible(!barVisible);  // and back the other way
        const int otherHeight =
            barVisible ? 0 : fw::detail::InstalledMenuBar(top)->sizeHint().height();
        EXPECT_EQ(fw::testing::ContentWidgetOf(*window)->geometry(),
                  QRect(0, otherHeight, 300, 200));
        EXPECT_EQ(window->Width(), 300);
        EXPECT_EQ(window->Height(), 200);
        window->Close();
    }
}

TEST_F(WindowTest, ConstructionRunsEventsInOrderAndRegistersLast) {
    auto window = fw::MakeRef<TestWindow>();
    window->onCreateControls = [](TestWindow& self) {
        for (const char* name : {"First", "Second", "Third"}) {
            auto field = self.Add<fw::TextField>(name);
            fw::RuntimeAddEventHandler(*field, fw::kOpenEvent,
                                       fw::RuntimeCreateDelegate(&self, &TestWindow::FieldOpen));
        }
        auto area = self.Add<fw::TextArea>("Area");
        fw::RuntimeAddEventHandler(*area, fw::kOpenEvent,
                                   fw::RuntimeCreateDelegate(&self, &TestWindow::AreaOpen));
    };
    bool registeredDuringOpen = true;
    window->onOpen = [&](TestWindow& self) {
        registeredDuringOpen =
            self.IsOpen() || !fw::Window::_GetImplicitWindow("TestWindow.TestWindow").IsNil();
    };
    window->Constructor();

    const std::vector<std::string> expected = {"Layout",      "CreateControls", "Open First",
                                               "Open Second", "Open Third",     "Open Area",
                                               "Window Open"};
    EXPECT_EQ(window->log, expected);
    EXPECT_FALSE(registeredDuringOpen);
    EXPECT_TRUE(window->IsOpen());
    EXPECT_EQ(fw::Window::_GetImplicitWindow("TestWindow.TestWindow"), Ref<fw::Window>(window));
    EXPECT_TRUE(fw::Window::_GetImplicitWindow("MessageWindow.MessageWindow").IsNil());
}

TEST_F(WindowTest, FailedConstructionReachesTheCallerAndOpensNothing) {
    enum class Step { Layout, CreateControls, ControlOpen, WindowOpen };
    for (Step failing : {Step::Layout, Step::CreateControls, Step::ControlOpen, Step::WindowOpen}) {
        auto window = fw::MakeRef<TestWindow>();
        auto fail = [](TestWindow&) { throw fw::RuntimeException("declared values broken"); };
        if (failing == Step::Layout) {
            window->onLayout = fail;
        }
        window->onCreateControls = [&](TestWindow& self) {
            auto timer = self.__New<fw::Timer>();
            self._AddControl("Ticker", timer);
            fw::RuntimeAddEventHandler(*timer, fw::kTimerActionEvent,
                                       fw::RuntimeCreateDelegate(&self, &TestWindow::TimerAction));
            timer->SetPeriod(1);
            timer->SetMode(2);
            auto field = self.Add<fw::TextField>("Field");
            if (failing == Step::ControlOpen) {
                fw::RuntimeAddEventHandler(*field, fw::kOpenEvent,
                                           fw::RuntimeCreateDelegate(+[](Ref<fw::TextField>) {
                                               throw fw::OutOfBoundsException();
                                           }));
            }
            if (failing == Step::CreateControls) {
                fail(self);
            }
        };
        if (failing == Step::WindowOpen) {
            window->onOpen = fail;
        }
        EXPECT_THROW(window->Constructor(), fw::RuntimeException) << static_cast<int>(failing);
        EXPECT_FALSE(window->IsOpen());
        EXPECT_TRUE(fw::Window::_GetImplicitWindow("TestWindow.TestWindow").IsNil());
        EXPECT_EQ(WidgetOf(*window), nullptr);
        if (failing != Step::Layout) {
            EXPECT_FALSE(window->_ControlByName("Ticker").IsNil()) << "controls stay registered";
        }
        QTest::qWait(20);
        EXPECT_EQ(std::count(window->log.begin(), window->log.end(), "Tick Ticker"), 0)
            << "the timer of a window that never opened must not tick";
    }
}

TEST_F(WindowTest, CloseAndCloseBoxUnregisterAndLetTheWidgetsGo) {
    for (bool byCloseBox : {false, true}) {
        auto window = fw::MakeRef<TestWindow>();
        Ref<fw::PushButton> button;
        window->onCreateControls = [&](TestWindow& self) {
            button = self.Add<fw::PushButton>("OKButton");
        };
        window->Constructor();
        QPointer<QWidget> top = WidgetOf(*window);
        QPointer<QWidget> buttonWidget = WidgetOf(*button);
        ASSERT_EQ(fw::Window::_GetImplicitWindow("TestWindow.TestWindow"), Ref<fw::Window>(window));
        ASSERT_EQ(window->RefCount(), 2) << "the test's reference and the open registry's";

        if (byCloseBox) {
            top->close();
        } else {
            window->Close();
        }
        EXPECT_FALSE(window->IsOpen()) << byCloseBox;
        EXPECT_TRUE(fw::Window::_GetImplicitWindow("TestWindow.TestWindow").IsNil());
        EXPECT_EQ(window->RefCount(), 1);
        EXPECT_EQ(WidgetOf(*button), nullptr);
        fw::testing::FlushDeferredDeletes();
        EXPECT_TRUE(top.isNull());
        EXPECT_TRUE(buttonWidget.isNull());
        // The controls stay reachable and keep their values; a closed window stays closed.
        EXPECT_EQ(window->_ControlByName("OKButton"), Ref<fw::Control>(button));
        window->Show();
        EXPECT_EQ(WidgetOf(*window), nullptr);
    }
}

// Counts its living instances, so the tests see leaks and early deletes.
class CountedButton : public fw::PushButton {
public:
    CountedButton() { ++alive; }
    ~CountedButton() override { --alive; }
    static inline int alive = 0;
};

class CountedWindow : public TestWindow {
public:
    CountedWindow() { ++alive; }
    ~CountedWindow() override { --alive; }
    static inline int alive = 0;
};

TEST_F(WindowTest, ReferenceCountsComeBackToRestAfterClose) {
    auto window = fw::MakeRef<CountedWindow>();
    window->onCreateControls = [](TestWindow& self) {
        for (int i = 0; i < 3; ++i) {
            auto button = self.Add<CountedButton>("Button");
            button->SetIndex(i);
            fw::RuntimeAddEventHandler(*button, fw::kActionEvent,
                                       fw::RuntimeCreateDelegate(&self, &TestWindow::ButtonAction));
        }
    };
    window->Constructor();
    EXPECT_EQ(window->RefCount(), 2) << "delegates must not hold their window";
    Ref<fw::Control> kept = window->_ControlByNameIndex("Button", 1);
    EXPECT_EQ(kept->RefCount(), 2);

    QTest::mouseClick(WidgetOf(*fw::Cast<fw::PushButton>(kept)), Qt::LeftButton);
    fw::Cast<fw::PushButton>(window->_ControlByNameIndex("Button", 2))->Push();
    EXPECT_EQ(std::count(window->log.begin(), window->log.end(), "Action Button"), 2);
    EXPECT_EQ(window->RefCount(), 2);
    EXPECT_EQ(kept->RefCount(), 2);

    window->Close();
    EXPECT_EQ(window->RefCount(), 1);
    window.Reset();
    fw::testing::FlushDeferredDeletes();
    EXPECT_EQ(CountedWindow::alive, 0);
    EXPECT_EQ(CountedButton::alive, 1) << "only the button the test holds";
    EXPECT_EQ(kept->RefCount(), 1);
    EXPECT_EQ(kept->Owner(), nullptr);
    kept.Reset();
    EXPECT_EQ(CountedButton::alive, 0);
}

TEST_F(WindowTest, ButtonThatClosesItsOwnWindowEndsIt) {
    {
        auto window = fw::MakeRef<CountedWindow>();
        window->onCreateControls = [](TestWindow& self) {
            auto ok = self.Add<CountedButton>("OKButton");
            ok->SetDefault(true);
            fw::RuntimeAddEventHandler(*ok, fw::kActionEvent,
                                       fw::RuntimeCreateDelegate(&self, &TestWindow::ButtonAction));
        };
        window->onAction = [](TestWindow&) {
            fw::Window::_GetImplicitWindow("TestWindow.TestWindow")->Close();
        };
        window->Constructor();
    }  // only the open registry holds the window now
    auto open = fw::Window::_GetImplicitWindow("TestWindow.TestWindow");
    ASSERT_FALSE(open.IsNil());
    QPointer<QWidget> button =
        WidgetOf(*fw::Cast<fw::PushButton>(open->_ControlByName("OKButton")));
    open.Reset();

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(fw::Window::_GetImplicitWindow("TestWindow.TestWindow").IsNil());
    EXPECT_EQ(CountedWindow::alive, 0);
    EXPECT_EQ(CountedButton::alive, 0);
    fw::testing::FlushDeferredDeletes();
    EXPECT_TRUE(button.isNull());
}

// Runs the event loop until it ends, or fails the test and ends it after five seconds; returns
// the loop's exit code.
int RunLoopWithDeadline(const char* context) {
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [context] {
        ADD_FAILURE() << context << ": the event loop did not end";
        QCoreApplication::exit(99);
    });
    deadline.start(5000);
    return QCoreApplication::exec();
}

void CloseOwnWindow(fw::Control& control) {
    control.Owner()->Close();
}

// Closing the last open window ends the run the same way, whether the player uses the close box
// or the program closes it, from outside or from one of the window's own handlers; the window
// and its widgets then go.
TEST_F(WindowTest, ClosingTheLastWindowEndsTheRunHoweverItCloses) {
    enum class Way { Code, CloseBox, Button, Return, Timer, Paint, MouseDown };
    const std::pair<const char*, Way> cases[] = {
        {"Close from the event loop", Way::Code},
        {"close box", Way::CloseBox},
        {"button handler", Way::Button},
        {"Return on the default button", Way::Return},
        {"timer tick", Way::Timer},
        {"canvas Paint", Way::Paint},
        {"canvas MouseDown", Way::MouseDown},
    };
    for (const auto& [name, way] : cases) {
        ASSERT_TRUE(fw::Window::OpenWindows().empty()) << name;
        Ref<fw::PushButton> button;
        Ref<fw::Canvas> canvas;
        {
            auto window = fw::MakeRef<CountedWindow>();
            window->onCreateControls = [&, way = way](TestWindow& self) {
                button = self.Add<fw::PushButton>("OKButton");
                button->SetDefault(true);
                fw::RuntimeAddEventHandler(
                    *button, fw::kActionEvent,
                    fw::RuntimeCreateDelegate(&self, &TestWindow::ButtonAction));
                canvas = self.Add<fw::Canvas>("Canvas");
                canvas->SetLeft(150);  // clear of the button
                if (way == Way::Paint) {
                    fw::RuntimeAddEventHandler(
                        *canvas, fw::kPaintEvent,
                        fw::RuntimeCreateDelegate(
                            +[](Ref<fw::Canvas> c, Ref<fw::Graphics>,
                                Ref<fw::Array<Ref<fw::Rect>>>) { CloseOwnWindow(*c); }));
                }
                if (way == Way::MouseDown) {
                    fw::RuntimeAddEventHandler(
                        *canvas, fw::kMouseDownEvent,
                        fw::RuntimeCreateDelegate(+[](Ref<fw::Canvas> c, int64_t, int64_t) {
                            CloseOwnWindow(*c);
                            return true;
                        }));
                }
                if (way == Way::Timer) {
                    auto timer = self.__New<fw::Timer>();
                    self._AddControl("Ticker", timer);
                    fw::RuntimeAddEventHandler(
                        *timer, fw::kTimerActionEvent,
                        fw::RuntimeCreateDelegate(+[](Ref<fw::Timer> t) { CloseOwnWindow(*t); }));
                    timer->SetPeriod(1);
                    timer->SetMode(1);
                }
            };
            window->onAction = [](TestWindow& self) { self.Close(); };
            window->Constructor();
        }  // only the open registry holds the window now
        QPointer<QWidget> top = WidgetOf(*fw::Window::OpenWindows().at(0));
        QPointer<QWidget> buttonWidget = WidgetOf(*button);
        QPointer<QWidget> canvasWidget = WidgetOf(*canvas);
        button.Reset();
        canvas.Reset();

        QTimer::singleShot(0, [&, way = way] {
            switch (way) {
                case Way::Code:
                    fw::Window::OpenWindows().at(0)->Close();
                    break;
                case Way::CloseBox:
                    top->close();
                    break;
                case Way::Button:
                    QTest::mouseClick(buttonWidget, Qt::LeftButton);
                    break;
                case Way::Return:
                    QTest::keyPress(top, Qt::Key_Return);
                    break;
                case Way::Paint:
                    canvasWidget->repaint();
                    break;
                case Way::MouseDown:
                    QTest::mousePress(canvasWidget, Qt::LeftButton);
                    break;
                case Way::Timer:
                    break;  // the timer fires by itself
            }
        });
        EXPECT_EQ(RunLoopWithDeadline(name), 0) << name;
        EXPECT_TRUE(fw::Window::OpenWindows().empty()) << name;
        fw::testing::FlushDeferredDeletes();
        EXPECT_EQ(CountedWindow::alive, 0) << name;
        EXPECT_TRUE(top.isNull() && buttonWidget.isNull() && canvasWidget.isNull()) << name;
    }
}

// A Close that fails (here at its fault point) leaves its window open and showing: the close box
// is refused rather than reported to Qt as done, and the failure reaches the unhandled-exception
// routine once.
TEST_F(WindowTest, ACloseBoxWhoseCloseFailsLeavesTheWindowShowing) {
    auto window = fw::MakeRef<TestWindow>();
    window->Constructor();
    QWidget* top = WidgetOf(*window);
    const int before = fw::testing::UnhandledExceptionCount();
    fw::testing::ArmFault("Window.Close");
    EXPECT_FALSE(top->close());
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
    EXPECT_TRUE(window->IsOpen());
    EXPECT_TRUE(top->isVisible());

    EXPECT_TRUE(top->close());
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
}

// The windows still open when the loop ends close then, each once; one whose Close fails is
// reported, the others still close, and nothing escapes into the loop.
TEST_F(WindowTest, AFailingCloseAtTheEndOfTheRunIsReportedAndTheLoopEnds) {
    auto older = fw::MakeRef<TestWindow>();
    older->Constructor();
    auto newer = fw::MakeRef<TestWindow>();
    newer->Constructor();
    const int before = fw::testing::UnhandledExceptionCount();
    fw::testing::ArmFault("Window.Close");  // the newest closes first and fails
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    int code = -1;
    EXPECT_NO_THROW(code = RunLoopWithDeadline("quit"));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
    EXPECT_TRUE(newer->IsOpen());
    EXPECT_FALSE(older->IsOpen());
    EXPECT_EQ(fw::Window::OpenWindows(), std::vector<Ref<fw::Window>>{newer});
}

TEST_F(WindowTest, ReturnPressesTheDefaultButtonUnlessATextAreaTakesIt) {
    enum class Focus { Field, MultiLineArea, SingleLineArea, Button };
    struct Case {
        const char* name;
        Focus focus;
        Qt::Key key;
        bool buttonEnabled;
        int expectedActions;
    } cases[] = {
        {"Return in a field", Focus::Field, Qt::Key_Return, true, 1},
        {"Enter in a field", Focus::Field, Qt::Key_Enter, true, 1},
        {"Return in a multi-line area", Focus::MultiLineArea, Qt::Key_Return, true, 0},
        {"Return in a single-line area", Focus::SingleLineArea, Qt::Key_Return, true, 1},
        {"Return on the window itself", Focus::Button, Qt::Key_Return, true, 1},
        {"Escape without a Cancel button", Focus::Field, Qt::Key_Escape, true, 0},
        {"Return with the button disabled", Focus::Field, Qt::Key_Return, false, 0},
    };
    for (const auto& c : cases) {
        auto window = fw::MakeRef<TestWindow>();
        Ref<fw::TextField> field;
        Ref<fw::TextArea> area;
        window->onCreateControls = [&](TestWindow& self) {
            field = self.Add<fw::TextField>("Field");
            area = self.Add<fw::TextArea>("Area");
            area->SetMultiline(c.focus != Focus::SingleLineArea);
            auto button = self.Add<fw::PushButton>("Start");
            button->SetDefault(true);
            button->SetCancel(false);
            button->SetEnabled(c.buttonEnabled);
            fw::RuntimeAddEventHandler(*button, fw::kActionEvent,
                                       fw::RuntimeCreateDelegate(&self, &TestWindow::ButtonAction));
        };
        window->Constructor();
        QWidget* target = c.focus == Focus::Field    ? WidgetOf(*field)
                          : c.focus == Focus::Button ? WidgetOf(*window)
                                                     : WidgetOf(*area);
        QTest::keyClick(target, c.key,
                        c.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_EQ(static_cast<int>(window->log.size()) - 2 /* Layout, CreateControls */ - 1,
                  c.expectedActions)
            << c.name;
        if (c.focus == Focus::MultiLineArea) {
            EXPECT_EQ(area->Text(), "\r") << "the area kept the line break";
        }
        window->Close();
    }
}

TEST_F(WindowTest, FailingHandlerReachesTheUnhandledRoutineOnceAndTheWindowGoesOn) {
    auto window = fw::MakeRef<TestWindow>();
    Ref<fw::PushButton> button;
    window->onCreateControls = [&](TestWindow& self) {
        button = self.Add<fw::PushButton>("Start");
        fw::RuntimeAddEventHandler(*button, fw::kActionEvent,
                                   fw::RuntimeCreateDelegate(&self, &TestWindow::ButtonAction));
    };
    int failures = 1;
    window->onAction = [&](TestWindow&) {
        if (failures-- > 0) {
            throw fw::NilObjectException();
        }
    };
    window->Constructor();
    const int before = fw::testing::UnhandledExceptionCount();

    QTest::mouseClick(WidgetOf(*button), Qt::LeftButton);
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
    QTest::mouseClick(WidgetOf(*button), Qt::LeftButton);
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
    EXPECT_EQ(std::count(window->log.begin(), window->log.end(), "Action Start"), 2);
    EXPECT_TRUE(window->IsOpen());
}

TEST_F(WindowTest, LookupsGiveNilForWhatNoControlBears) {
    auto window = fw::MakeRef<TestWindow>();
    window->onCreateControls = [](TestWindow& self) {
        for (int64_t i = 0; i < 3; ++i) {
            self.Add<fw::TextField>("Set")->SetIndex(i);
        }
        self.Add<fw::TextField>("Single");
    };
    window->Constructor();
    EXPECT_EQ(window->_ControlByNameIndex("Set", 2)->Index(), 2);
    EXPECT_EQ(window->_ControlByName("Single")->Index(), fw::kNoControlSetIndex);
    EXPECT_TRUE(window->_ControlByName("Missing").IsNil());
    EXPECT_TRUE(window->_ControlByNameIndex("Set", 3).IsNil());
    EXPECT_TRUE(window->_ControlByNameIndex("Single", 0).IsNil());
    EXPECT_THROW(window->_AddControl("Nothing", nullptr), fw::NilObjectException);
}

TEST_F(WindowTest, UserInterfaceCallsFromAnotherThreadAreRefused) {
    auto window = fw::MakeRef<TestWindow>();
    Ref<fw::TextField> field;
    window->onCreateControls = [&](TestWindow& self) { field = self.Add<fw::TextField>("Field"); };
    window->Constructor();
    auto spare = window->__New<fw::TextField>();
    auto closed = fw::MakeRef<TestWindow>();
    Ref<fw::TextField> closedField;
    closed->onCreateControls = [&](TestWindow& self) {
        closedField = self.Add<fw::TextField>("Field");
    };
    closed->Constructor();
    closed->Close();
    const auto button = fw::PushButton::Create();
    const auto handler = fw::RuntimeCreateDelegate(window, &TestWindow::ButtonAction);
    const auto item = fw::MakeRef<fw::MenuItem>();

    const std::pair<const char*, std::function<void()>> calls[] = {
        {"_AddControl", [&] { window->_AddControl("Spare", spare); }},
        {"Window.__New", [&] { (void)window->__New<fw::TextField>(); }},
        {"Window.SetWidth", [&] { window->SetWidth(100); }},
        {"Window.Close", [&] { window->Close(); }},
        {"Window._GetImplicitWindow", [] { (void)fw::Window::_GetImplicitWindow("TestWindow"); }},
        {"Window.OpenWindows", [] { (void)fw::Window::OpenWindows(); }},
        {"RectControl.SetLeft", [&] { field->SetLeft(3); }},
        {"TextField.SetText", [&] { field->SetText("x"); }},
        {"TextField.Text", [&] { (void)field->Text(); }},
        {"TextField.Text of a closed window", [&] { (void)closedField->Text(); }},
        {"Control.AddEventHandler", [&] { button->AddEventHandler(fw::kActionEvent, handler); }},
        {"MenuItem.Trigger", [&] { item->Trigger(); }},
    };
    for (const auto& [name, call] : calls) {
        bool refused = false;
        std::thread worker([&, call = call] {
            try {
                call();
            } catch (const fw::ThreadAccessingUIException&) {
                refused = true;
            }
        });
        worker.join();
        EXPECT_TRUE(refused) << name;
    }
    EXPECT_TRUE(window->_ControlByName("Spare").IsNil());
    EXPECT_FALSE(button->HasEventHandler(fw::kActionEvent));
    EXPECT_TRUE(window->IsOpen());
    EXPECT_EQ(window->Width(), 300);
}

}  // namespace
