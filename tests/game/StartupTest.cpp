// The process's path from its entry to the exit status, with each start-up step made to fail in
// turn through the runtime's fault points.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "fw/core/Dispatch.h"
#include "fw/core/FaultPoint.h"
#include "fw/runtime/Application.h"
#include "fw/runtime/Runtime.h"
#include "fw/ui/Window.h"
#include "game/FileTypes.h"
#include "game/KarutaWindow.h"
#include "game/MenuBar1.h"
#include "game/Startup.h"
#include "tests/support/CardResources.h"

namespace {

int gFinalizerRuns = 0;

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool registered = [] {
            fw::RuntimeRegisterFinalizer([] { ++gFinalizerRuns; });
            return true;
        }();
        (void)registered;
        gFinalizerRuns = 0;
        unhandledBefore = fw::testing::UnhandledExceptionCount();
    }

    void TearDown() override {
        fw::testing::DisarmFaults();
        for (const fw::Ref<fw::Window>& open : fw::Window::OpenWindows()) {
            open->Close();
        }
    }

    // Runs the whole process path in this process; a running event loop ends with exitCode.
    int RunMain(int exitCode = 0) {
        QTimer::singleShot(0, [exitCode] { QCoreApplication::exit(exitCode); });
        char name[] = "karuta";
        char* argv[] = {name, nullptr};
        char* envp[] = {nullptr};
        const int status = game::main(1, argv, envp);
        // A loop that never ran leaves the quit request queued; with no loop running it does
        // nothing when it is delivered here.
        QCoreApplication::processEvents();
        return status;
    }

    bool MainWindowOpened() const {
        return !fw::Window::_GetImplicitWindow(game::KarutaWindow::kClassName).IsNil();
    }

    int Unhandled() const { return fw::testing::UnhandledExceptionCount() - unhandledBefore; }

    CardResources resources;
    int unhandledBefore = 0;
};

TEST_F(StartupTest, AnOrdinaryRunOpensTheMainWindowAndExitsWithTheRuntimesCode) {
    bool openDuringLoop = false;
    std::string application;
    QTimer::singleShot(0, [&] {
        openDuringLoop = MainWindowOpened();
        application = fw::CurrentApplication() ? fw::CurrentApplication()->ClassName() : "";
    });
    EXPECT_EQ(RunMain(7), 7);
    EXPECT_TRUE(openDuringLoop);
    EXPECT_EQ(gFinalizerRuns, 1);
    EXPECT_EQ(Unhandled(), 0);
    EXPECT_DOUBLE_EQ(fw::testing::FrameworkVersion(), 2016.01);
    EXPECT_EQ(application, "App");
    EXPECT_TRUE(fw::Application::SupportsHiDPI());
}

TEST_F(StartupTest, TheDocumentTypeIsRegisteredOnceWithItsDeclaredValues) {
    const size_t before = fw::testing::RegisteredFileTypes().size();
    RunMain();
    const auto types = fw::testing::RegisteredFileTypes();
    ASSERT_EQ(types.size(), before + 1);
    EXPECT_EQ(types.back(), (fw::testing::RegisteredFileType{"text", "R*ch", "TEXT", "", ""}));
}

TEST_F(StartupTest, TheQuitItemEndsTheEventLoop) {
    QTimer::singleShot(
        0, [] { game::MenuBar1::Instance()->Child("FileMenu")->Child("FileQuit")->Trigger(); });
    char name[] = "karuta";
    char* argv[] = {name, nullptr};
    char* envp[] = {nullptr};
    EXPECT_EQ(game::main(1, argv, envp), 0);
    EXPECT_EQ(gFinalizerRuns, 1);
}

TEST_F(StartupTest, EachFailureEndsTheProcessAsItsRowSays) {
    struct Row {
        const char* failingStep;
        bool unhandledRoutineFails;
        int expectedStatus;
        int unhandledReports;
        bool finalizersRun;
        bool windowOpens;
    };
    // The loop, when it runs, ends with code 5, so a status of 5 proves the runtime's exit code
    // was returned and 0 that the process ended early.
    const Row rows[] = {
        {"RuntimeInit", false, 0, 0, false, false},
        {"RuntimePerformInitializers", false, 0, 0, false, false},
        {"_RuntimeSetFrameworkVersion", false, 0, 1, true, false},
        {"_RuntimeInitExternalClasses", false, 0, 1, true, false},
        {"_RuntimeRegisterAppObject", false, 0, 1, true, false},
        {"_RunFrameworkInitialization", false, 0, 1, true, false},
        {"_RuntimeRun", false, 0, 1, true, true},
        {"_RuntimeRegisterAppObject", true, 0, 1, false, false},
        {"RuntimePerformFinalizers", false, 0, 0, false, true},
        {"RuntimeExit", false, 0, 0, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.failingStep);
        SetUp();
        bool windowOpened = false;
        QTimer::singleShot(0, [&] { windowOpened = MainWindowOpened(); });
        fw::testing::ArmFault(row.failingStep);
        if (row.unhandledRoutineFails) {
            fw::testing::ArmUnhandledExceptionFailure();
        }
        const int status = RunMain(5);
        EXPECT_EQ(status, row.expectedStatus);
        EXPECT_EQ(Unhandled(), row.unhandledReports);
        EXPECT_EQ(gFinalizerRuns > 0, row.finalizersRun);
        EXPECT_EQ(windowOpened || MainWindowOpened(), row.windowOpens);
        TearDown();
    }
}

TEST_F(StartupTest, AFailureWhileOpeningTheMainWindowIsReportedAndTheProcessEndsWithStatus1) {
    // The framework calls the late start-up; what escapes it goes back to the framework. With no
    // window left nothing could end the loop, so the run ends as failed.
    fw::testing::ArmFault("Window.__New");
    EXPECT_EQ(RunMain(4), 1);
    EXPECT_EQ(Unhandled(), 1);
    EXPECT_EQ(gFinalizerRuns, 1);
}

}  // namespace
