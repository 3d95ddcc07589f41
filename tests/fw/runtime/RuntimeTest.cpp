// The runtime's start, initialisers, framework set-up, event loop, finalisers and exit, and the
// fault point each of its operations passes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <string>
#include <vector>

#include "fw/core/Date.h"
#include "fw/core/Dispatch.h"
#include "fw/core/FaultPoint.h"
#include "fw/core/Random.h"
#include "fw/menus/Menu.h"
#include "fw/runtime/Application.h"
#include "fw/runtime/Runtime.h"

namespace {

std::vector<std::string> gCalls;

void RecordInitA() {
    gCalls.push_back("init A");
}
void RecordInitB() {
    gCalls.push_back("init B");
}
void FailingInit() {
    gCalls.push_back("init fails");
    throw fw::RuntimeException("initialiser failed");
}
void RecordFinalA() {
    gCalls.push_back("final A");
}
void RecordFinalB() {
    gCalls.push_back("final B");
}
void RecordLateStartup() {
    gCalls.push_back("late start-up");
}
void FailingLateStartup() {
    gCalls.push_back("late start-up fails");
    throw fw::RuntimeException("window could not be built");
}

class TrackedApp : public fw::Application {
public:
    explicit TrackedApp(bool* destroyed) : destroyed_(destroyed) {}
    ~TrackedApp() override { *destroyed_ = true; }

private:
    bool* destroyed_;
};

// Runs the event loop; a guard ends it with 99 if the code under test never quits it.
int32_t RunLoopWithGuard() {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    fw::_RuntimeRun();
    return fw::RuntimeExit();
}

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        gCalls.clear();
        fw::testing::ResetRuntime();
        fw::testing::DisarmFaults();
    }
    void TearDown() override {
        fw::testing::DisarmFaults();
        fw::testing::ResetRuntime();
    }
};

TEST_F(RuntimeTest, StepsRunInRegistrationOrderAndFinalizersOncePerCall) {
    fw::RuntimeRegisterInitializer(&RecordInitB);
    fw::RuntimeRegisterInitializer(&RecordInitA);
    fw::RuntimeRegisterFinalizer(&RecordFinalB);
    fw::RuntimeRegisterFinalizer(&RecordFinalA);
    fw::RuntimeInit(0, nullptr, nullptr);  // The test's QApplication is kept.
    fw::RuntimePerformInitializers();
    fw::_RunFrameworkInitialization(&RecordLateStartup);
    fw::RuntimePerformFinalizers();
    fw::RuntimePerformFinalizers();
    EXPECT_EQ(fw::RuntimeExit(), 0);  // The loop never ran.
    EXPECT_EQ(gCalls, (std::vector<std::string>{"init B", "init A", "late start-up", "final B",
                                                "final A", "final B", "final A"}));
}

TEST_F(RuntimeTest, FailingInitializerStopsTheRest) {
    fw::RuntimeRegisterInitializer(&RecordInitA);
    fw::RuntimeRegisterInitializer(&FailingInit);
    fw::RuntimeRegisterInitializer(&RecordInitB);
    EXPECT_THROW(fw::RuntimePerformInitializers(), fw::RuntimeException);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"init A", "init fails"}));
}

TEST_F(RuntimeTest, LateStartupRunsOnceAndItsExceptionGoesToTheUnhandledRoutine) {
    const int before = fw::testing::UnhandledExceptionCount();
    EXPECT_NO_THROW(fw::_RunFrameworkInitialization(&FailingLateStartup));
    EXPECT_EQ(gCalls, std::vector<std::string>{"late start-up fails"});
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
    // The framework is set up once per run: a second call neither raises silently nor calls.
    EXPECT_THROW(fw::_RunFrameworkInitialization(&RecordLateStartup), fw::RuntimeException);
    EXPECT_EQ(gCalls.size(), 1u);
}

TEST_F(RuntimeTest, RuntimeExitReturnsTheCodeTheLoopEndedWith) {
    QWidget window;  // A run needs a window.
    window.show();
    QTimer::singleShot(0, [] { QCoreApplication::exit(3); });
    EXPECT_EQ(RunLoopWithGuard(), 3);
    // Quitting through the quit item ends the loop with 0; the earlier code is not kept.
    const auto quit = fw::RuntimeNewObject<fw::QuitMenuItem>();
    QTimer::singleShot(0, [item = quit.Get()] { item->Trigger(); });
    EXPECT_EQ(RunLoopWithGuard(), 0);
    fw::testing::ResetRuntime();
    EXPECT_EQ(fw::RuntimeExit(), 0);
}

// A run that no window is left in ends, at once when none shows as the loop would begin or when
// the last one closes (the close box included). After a failure of the run its code is 1, so
// the process does not end as if all went well; the quit item still ends it with 0.
TEST_F(RuntimeTest, ARunWithNoWindowLeftEndsWithCode1AfterAFailure) {
    enum class End { NoWindow, CloseBox, QuitItem };
    struct Case {
        const char* name;
        End end;
        bool failure;
        int32_t code;
    };
    const Case cases[] = {
        {"no window", End::NoWindow, false, 0},
        {"no window after a failure", End::NoWindow, true, 1},
        {"close box", End::CloseBox, false, 0},
        {"close box after a failure", End::CloseBox, true, 1},
        {"quit item after a failure", End::QuitItem, true, 0},
    };
    const auto quit = fw::RuntimeNewObject<fw::QuitMenuItem>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fw::testing::ResetRuntime();
        if (c.failure) {
            fw::Dispatch([] { throw fw::RuntimeException("a handler failed"); });
        }
        QWidget window;
        if (c.end != End::NoWindow) {
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        }
        QTimer::singleShot(0, [&window, &c, item = quit.Get()] {
            if (c.end == End::CloseBox) {
                window.windowHandle()->close();  // As the window manager closes it.
            } else if (c.end == End::QuitItem) {
                item->Trigger();
            }
        });
        EXPECT_EQ(RunLoopWithGuard(), c.code);
        QCoreApplication::processEvents();  // A loop that never ran leaves the timer's call.
    }
}

TEST_F(RuntimeTest, RuntimeHoldsTheAppObjectUntilExit) {
    bool destroyed = false;
    {
        auto app = fw::RuntimeNewObject<TrackedApp>(&destroyed);
        app->SetMenuBar(fw::MakeRef<fw::MenuBar>());
        fw::_RuntimeRegisterAppObject(app);
    }
    ASSERT_NE(fw::CurrentApplication(), nullptr);
    EXPECT_FALSE(fw::CurrentApplication()->MenuBar().IsNil());
    EXPECT_FALSE(destroyed);
    fw::RuntimeExit();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(fw::CurrentApplication(), nullptr);
    EXPECT_THROW(fw::_RuntimeRegisterAppObject(nullptr), fw::NilObjectException);
}

TEST_F(RuntimeTest, BackgroundTasksCountPassesWithoutProcessingEvents) {
    int hookCalls = 0;
    bool queuedRan = false;
    fw::testing::SetBackgroundTaskHook([&hookCalls] { ++hookCalls; });
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&queuedRan] { queuedRan = true; }, Qt::QueuedConnection);
    for (int i = 0; i < 3; ++i) {
        fw::RuntimeBackgroundTasks();
    }
    EXPECT_EQ(fw::testing::BackgroundTaskCount(), 3);
    EXPECT_EQ(hookCalls, 3);
    EXPECT_FALSE(queuedRan) << "a pass of the background tasks ran a queued event";
    QCoreApplication::processEvents();
    EXPECT_TRUE(queuedRan);
}

// Each operation passes the fault point of its own name: armed, the operation raises and has no
// effect; the fault fires once, so the next call works.
TEST_F(RuntimeTest, EveryOperationRaisesAtItsFaultPoint) {
    struct Case {
        const char* point;
        std::function<void()> call;
        std::function<bool()> hadEffect;  // Null when the operation leaves nothing to observe.
    };
    const Case cases[] = {
        {"RuntimeInit", [] { fw::RuntimeInit(0, nullptr, nullptr); }, nullptr},
        {"RuntimeRegisterInitializer", [] { fw::RuntimeRegisterInitializer(&RecordInitA); },
         [] {
             fw::RuntimePerformInitializers();
             return !gCalls.empty();
         }},
        {"RuntimePerformInitializers",
         [] {
             fw::RuntimeRegisterInitializer(&RecordInitA);
             fw::RuntimePerformInitializers();
         },
         [] { return !gCalls.empty(); }},
        {"RuntimeRegisterFinalizer", [] { fw::RuntimeRegisterFinalizer(&RecordFinalA); },
         [] {
             fw::RuntimePerformFinalizers();
             return !gCalls.empty();
         }},
        {"RuntimePerformFinalizers",
         [] {
             fw::RuntimeRegisterFinalizer(&RecordFinalA);
             fw::RuntimePerformFinalizers();
         },
         [] { return !gCalls.empty(); }},
        {"RuntimeExit", [] { fw::RuntimeExit(); }, nullptr},
        {"_RuntimeSetFrameworkVersion", [] { fw::_RuntimeSetFrameworkVersion(2016.01); },
         [] { return fw::testing::FrameworkVersion() == 2016.01; }},
        {"_RunFrameworkInitialization", [] { fw::_RunFrameworkInitialization(&RecordLateStartup); },
         [] { return !gCalls.empty(); }},
        {"_RuntimeRun",
         [] {
             // A timer of this call only, so no quit is left queued for a later loop.
             QTimer quit;
             QObject::connect(&quit, &QTimer::timeout, [] { QCoreApplication::exit(0); });
             quit.start(0);
             fw::_RuntimeRun();
         },
         nullptr},
        {"_RuntimeInitExternalClasses", [] { fw::_RuntimeInitExternalClasses(); }, nullptr},
        {"_InitPluginEntrypoints", [] { fw::_InitPluginEntrypoints(); }, nullptr},
        {"RuntimeNewObject", [] { fw::RuntimeNewObject<fw::MenuItem>(); }, nullptr},
        {"_RuntimeRegisterAppObject",
         [] { fw::_RuntimeRegisterAppObject(fw::MakeRef<fw::Application>()); },
         [] { return fw::CurrentApplication() != nullptr; }},
        {"RuntimeRegisterFileType",
         [] { fw::RuntimeRegisterFileType("text", "R*ch", "TEXT", "", ""); },
         [] { return !fw::testing::RegisteredFileTypes().empty(); }},
        {"RuntimeBackgroundTasks", [] { fw::RuntimeBackgroundTasks(); },
         [] { return fw::testing::BackgroundTaskCount() > 0; }},
        {"Application._SetSupportsHiDPI", [] { fw::Application::_SetSupportsHiDPI(true); },
         [] { return fw::Application::SupportsHiDPI(); }},
        {"Application.MenuBar",
         [] { fw::MakeRef<fw::Application>()->SetMenuBar(fw::MakeRef<fw::MenuBar>()); }, nullptr},
        {"Date.Constructor", [] { fw::Date::Create(); }, nullptr},
        {"Random.Constructor", [] { fw::Random::Create(); }, nullptr},
        {"MenuItem.Constructor", [] { fw::MakeRef<fw::MenuItem>()->Constructor(); }, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point);
        gCalls.clear();
        fw::testing::ResetRuntime();
        fw::Application::_SetSupportsHiDPI(false);
        fw::testing::ArmFault(c.point);
        EXPECT_THROW(c.call(), fw::RuntimeException);
        if (c.hadEffect) {
            EXPECT_FALSE(c.hadEffect()) << "the failed operation had its effect";
        }
        fw::testing::ResetRuntime();
        gCalls.clear();
        EXPECT_NO_THROW(c.call());
        if (c.hadEffect) {
            EXPECT_TRUE(c.hadEffect());
        }
    }
}

}  // namespace
