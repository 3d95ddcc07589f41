#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fw/core/FaultPoint.h"
#include "fw/core/Object.h"
#include "fw/desktop/DisplayPreference.h"

// The runtime: the process's path from its start through the initialisers, the framework's own
// set-up, the event loop and the finalisers to the exit code. Each step of the run passes the
// fault point of its own name first, so tests can make any step raise.
namespace fw {

class Application;

// Sets the display preference that RuntimeInit applies (DisplayPreference.h); Wayland until
// set. The user's QT_QPA_PLATFORM, when set, chooses instead.
void RuntimeSetDisplayPreference(DisplayPreference preference);

// Starts the runtime: creates the QApplication unless one exists already (a test binary makes
// its own). Only the program name is handed to Qt: neither the program nor Qt reads any other
// argument. When no display platform starts, the process ends here, not by an exception: one
// line on standard error names what failed (the display, or the platform itself), and the exit
// status is 1.
void RuntimeInit(int argc, char** argv, char** envp);

// Functions run by RuntimePerformInitializers / RuntimePerformFinalizers, in registration order.
void RuntimeRegisterInitializer(void (*initializer)());
void RuntimeRegisterFinalizer(void (*finalizer)());
// Runs every registered initialiser once, in registration order. An exception stops the run and
// passes to the caller; the initialisers after it do not run.
void RuntimePerformInitializers();
// Runs every registered finaliser once per call, in registration order (a second call runs them
// all again: the runtime keeps no record of what ran). An exception stops the run and passes to
// the caller, so the finalisers ran "as far as they got".
void RuntimePerformFinalizers();
// Ends the runtime: releases the application object and returns the code the event loop ended
// with (see _RuntimeRun), or 0 when _RuntimeRun never ran.
int32_t RuntimeExit();

// Records the framework version the program is built for.
void _RuntimeSetFrameworkVersion(double version);
// Finishes the framework's own set-up and then calls lateStartup once, at once, through
// fw::Dispatch: an exception escaping it goes to the unhandled-exception routine and this call
// returns normally, so the start-up goes on to _RuntimeRun (which ends the run at once when no
// window opened). Called a second time it raises RuntimeException (the framework is set up once
// per run); a null lateStartup raises NilObjectException.
void _RunFrameworkInitialization(void (*lateStartup)());
// Runs the event loop until the application quits (the quit menu item, or the last window
// closing) and keeps its exit code for RuntimeExit. Except on macOS, whose menu bar outlives the
// windows, a run needs a window: with none showing the loop does not start. A run that ends so,
// or by its last window closing, ends with code 1 after a failure of the run (a call of the
// unhandled-exception routine since RuntimeInit), else 0. Raises RuntimeException without a
// QApplication or inside a running loop.
void _RuntimeRun();
void _RuntimeInitExternalClasses();
void _InitPluginEntrypoints();

// Creates an object of class T; the caller then runs its Constructor() when it has one.
template <class T, class... A>
Ref<T> RuntimeNewObject(A&&... args) {
    FaultPoint("RuntimeNewObject");
    return MakeRef<T>(std::forward<A>(args)...);
}

// Makes app the application object; the runtime holds it until RuntimeExit. Registering another
// one replaces it; nil raises NilObjectException.
void _RuntimeRegisterAppObject(Ref<Application> app);
// The registered application object, or null.
Application* CurrentApplication() noexcept;

// Declares a document type of the program.
void RuntimeRegisterFileType(const std::string& name, const std::string& macCreator,
                             const std::string& macType, const std::string& extensions,
                             const std::string& uti);

// The hook that every loop of the game passes once per pass. It never processes events, so no
// handler can run inside another through it.
void RuntimeBackgroundTasks();

namespace testing {

struct RegisteredFileType {
    std::string name;
    std::string macCreator;
    std::string macType;
    std::string extensions;
    std::string uti;
    friend bool operator==(const RegisteredFileType&, const RegisteredFileType&) = default;
};

// Every registration so far, in order.
std::vector<RegisteredFileType> RegisteredFileTypes();
double FrameworkVersion();
// How often RuntimeBackgroundTasks has been passed since the last ResetRuntime.
int64_t BackgroundTaskCount();
// Called on every pass of RuntimeBackgroundTasks (after counting it); empty for none.
void SetBackgroundTaskHook(std::function<void()> hook);
// Forgets initialisers, finalisers, the application object, file types, the version, the
// background-task count and hook, the loop's exit code and the framework's set-up, so that each
// test starts from a fresh runtime. The QApplication stays.
void ResetRuntime();

}  // namespace testing
}  // namespace fw
