#include "fw/runtime/Runtime.h"

#include <QApplication>
#include <QWindow>

#include <algorithm>

#include "fw/core/Dispatch.h"
#include "fw/desktop/QtStart.h"
#include "fw/runtime/Application.h"

namespace fw {
namespace {

struct RuntimeState {
    std::vector<void (*)()> initializers;
    std::vector<void (*)()> finalizers;
    Ref<Application> app;
    std::vector<testing::RegisteredFileType> fileTypes;
    double frameworkVersion = 0;
    bool frameworkInitialized = false;
    bool loopRunning = false;
    int32_t exitCode = 0;
    // The unhandled-exception routine's count when the run began: any call since is a failure of
    // this run.
    int unhandledAtStart = detail::UnhandledExceptionCount();
    DisplayPreference displayPreference = DisplayPreference::kWayland;
    int64_t backgroundTasks = 0;
    std::function<void()> backgroundHook;
};

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

// The QApplication made here is never deleted: windows the framework still holds at exit must
// not outlive it.
QApplication* gOwnApplication = nullptr;

// A desktop with an application-wide menu bar (macOS) keeps a program with no window within
// reach; elsewhere nothing could end it.
#ifdef Q_OS_MACOS
constexpr bool kRunNeedsAWindow = false;
#else
constexpr bool kRunNeedsAWindow = true;
#endif

// Whether a window of the program shows, by the rule Qt follows when the last one closes.
bool AnyWindowShowing() {
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.begin(), windows.end(), [](const QWindow* window) {
        return window->isVisible() && window->type() == Qt::Window &&
               window->transientParent() == nullptr;
    });
}

// The exit code of a run that ended because no window was left: 1 when a failure of the run
// took it there, so the process does not end as if all went well.
int32_t NoWindowLeftCode(const RuntimeState& state) {
    return detail::UnhandledExceptionCount() != state.unhandledAtStart ? 1 : 0;
}

QApplication& RequireApplication(const char* operation) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        throw RuntimeException(std::string(operation) + ": the runtime has not been started");
    }
    return *app;
}

}  // namespace

void RuntimeInit(int argc, char** argv, char** /*envp*/) {
    FaultPoint("RuntimeInit");
    // A run starts here: the framework is set up again and no loop has given a code yet.
    State().frameworkInitialized = false;
    State().exitCode = 0;
    State().unhandledAtStart = detail::UnhandledExceptionCount();
    if (QCoreApplication::instance() != nullptr) {
        RequireApplication("RuntimeInit");  // A non-widget application cannot show windows.
        return;
    }
    gOwnApplication = detail::StartQt(argc, argv, State().displayPreference);
}

void RuntimeSetDisplayPreference(DisplayPreference preference) {
    State().displayPreference = preference;
}

void RuntimeRegisterInitializer(void (*initializer)()) {
    FaultPoint("RuntimeRegisterInitializer");
    if (initializer == nullptr) {
        throw NilObjectException("RuntimeRegisterInitializer: no function");
    }
    State().initializers.push_back(initializer);
}

void RuntimeRegisterFinalizer(void (*finalizer)()) {
    FaultPoint("RuntimeRegisterFinalizer");
    if (finalizer == nullptr) {
        throw NilObjectException("RuntimeRegisterFinalizer: no function");
    }
    State().finalizers.push_back(finalizer);
}

void RuntimePerformInitializers() {
    FaultPoint("RuntimePerformInitializers");
    // A copy: an initialiser may register further functions, which run next time, not now.
    const auto initializers = State().initializers;
    for (auto* initializer : initializers) {
        initializer();
    }
}

void RuntimePerformFinalizers() {
    FaultPoint("RuntimePerformFinalizers");
    const auto finalizers = State().finalizers;
    for (auto* finalizer : finalizers) {
        finalizer();
    }
}

int32_t RuntimeExit() {
    FaultPoint("RuntimeExit");
    auto& state = State();
    // The application object lives to the end of the run, which is here.
    state.app.Reset();
    return state.exitCode;
}

void _RuntimeSetFrameworkVersion(double version) {
    FaultPoint("_RuntimeSetFrameworkVersion");
    State().frameworkVersion = version;
}

void _RunFrameworkInitialization(void (*lateStartup)()) {
    FaultPoint("_RunFrameworkInitialization");
    auto& state = State();
    if (state.frameworkInitialized) {
        throw RuntimeException("_RunFrameworkInitialization: the framework is already set up");
    }
    if (lateStartup == nullptr) {
        throw NilObjectException("_RunFrameworkInitialization: no late start-up function");
    }
    QApplication& app = RequireApplication("_RunFrameworkInitialization");
    // Closing the last window ends the run, as the program's desktop platforms expect; the quit
    // menu item is the other way out.
    app.setQuitOnLastWindowClosed(true);
    state.frameworkInitialized = true;
    Dispatch([lateStartup]() { lateStartup(); });
}

void _RuntimeRun() {
    FaultPoint("_RuntimeRun");
    QApplication& app = RequireApplication("_RuntimeRun");
    auto& state = State();
    if (state.loopRunning) {
        throw RuntimeException("_RuntimeRun: the event loop is already running");
    }
    if (kRunNeedsAWindow && !AnyWindowShowing()) {
        // No window to end the loop with (the main window failed to open): the run is over.
        state.exitCode = NoWindowLeftCode(state);
        return;
    }
    bool lastWindowClosed = false;
    const QMetaObject::Connection watch = QObject::connect(
        &app, &QGuiApplication::lastWindowClosed, [&lastWindowClosed] { lastWindowClosed = true; });
    state.loopRunning = true;
    const int code = app.exec();
    state.loopRunning = false;
    QObject::disconnect(watch);
    state.exitCode = lastWindowClosed && code == 0 ? NoWindowLeftCode(state) : code;
}

void _RuntimeInitExternalClasses() {
    FaultPoint("_RuntimeInitExternalClasses");
    // Every class the runtime creates by itself (windows, controls, menus, pictures) is an
    // ordinary C++ class of this framework, ready once the program is linked: nothing to prepare.
}

void _InitPluginEntrypoints() {
    FaultPoint("_InitPluginEntrypoints");
    // The program loads no plug-ins and none of its classes comes from one: nothing to resolve.
}

void _RuntimeRegisterAppObject(Ref<Application> app) {
    FaultPoint("_RuntimeRegisterAppObject");
    if (app.IsNil()) {
        throw NilObjectException("_RuntimeRegisterAppObject: nil application");
    }
    State().app = std::move(app);
}

Application* CurrentApplication() noexcept {
    return State().app.Get();
}

void RuntimeRegisterFileType(const std::string& name, const std::string& macCreator,
                             const std::string& macType, const std::string& extensions,
                             const std::string& uti) {
    FaultPoint("RuntimeRegisterFileType");
    State().fileTypes.push_back({name, macCreator, macType, extensions, uti});
}

void RuntimeBackgroundTasks() {
    FaultPoint("RuntimeBackgroundTasks");
    auto& state = State();
    ++state.backgroundTasks;
    if (state.backgroundHook) {
        // A copy, so a hook that replaces itself is not destroyed while it runs.
        const auto hook = state.backgroundHook;
        hook();
    }
}

namespace testing {

std::vector<RegisteredFileType> RegisteredFileTypes() {
    return State().fileTypes;
}

double FrameworkVersion() {
    return State().frameworkVersion;
}

int64_t BackgroundTaskCount() {
    return State().backgroundTasks;
}

void SetBackgroundTaskHook(std::function<void()> hook) {
    State().backgroundHook = std::move(hook);
}

void ResetRuntime() {
    auto& state = State();
    // Moved out first: releasing the application may run code that looks at the runtime.
    RuntimeState old = std::move(state);
    state = RuntimeState{};
}

}  // namespace testing
}  // namespace fw
