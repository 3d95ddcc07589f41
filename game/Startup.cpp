#include "game/Startup.h"

#include <exception>

#include "fw/core/Dispatch.h"
#include "fw/runtime/Application.h"
#include "fw/runtime/Runtime.h"
#include "fw/ui/Event.h"
#include "game/App.h"
#include "game/FileTypes.h"
#include "game/KarutaWindow.h"
#include "game/MenuBar1.h"

namespace game {
namespace {

// The framework version this program is built for.
constexpr double kFrameworkVersion = 2016.01;

// The module globals start nil; the finalisers drop what they hold, so that nothing of the
// game outlives the runtime.
void InitializeModuleGlobals() {
    FileTypes::pText = nullptr;
    MenuBar1::_implicitInstance = nullptr;
}

void FinalizeModuleGlobals() {
    FileTypes::pText = nullptr;
    MenuBar1::_implicitInstance = nullptr;
}

const bool kModuleGlobalsRegistered = [] {
    fw::RuntimeRegisterInitializer(&InitializeModuleGlobals);
    fw::RuntimeRegisterFinalizer(&FinalizeModuleGlobals);
    return true;
}();

}  // namespace

int main(int argc, char** argv, char** envp) {
    (void)kModuleGlobalsRegistered;
    try {
        // Where X runs beside a Wayland compositor the game shows its windows on X: it then
        // starts the same whether or not Qt's Wayland plugin is installed, the desktop's window
        // manager draws its title bars (on Wayland Qt draws its own where the compositor draws
        // none, as GNOME's does), and X is where whole games are played in the end-to-end tests.
        fw::RuntimeSetDisplayPreference(fw::DisplayPreference::kX);
        fw::RuntimeInit(argc, argv, envp);
        fw::RuntimePerformInitializers();
    } catch (...) {
        return 0;
    }
    try {
        _Main();
    } catch (...) {
        // The unhandled-exception routine itself failed.
        return 0;
    }
    try {
        fw::RuntimePerformFinalizers();
        return fw::RuntimeExit();
    } catch (...) {
        return 0;
    }
}

void _Main() {
    std::exception_ptr pending;
    try {
        {
            fw::Ref<fw::Delegate> helper =
                fw::RuntimeCreateDelegate(&fw::_CallFunctionWithExceptionHandling);
            fw::_RuntimeSetExceptionHelper(
                helper->Function<std::exception_ptr(void (*)(void*), void*)>());
        }
        fw::_RuntimeSetFrameworkVersion(kFrameworkVersion);
        _EarlyStartup();
        {
            fw::Ref<fw::Delegate> lateStartup = fw::RuntimeCreateDelegate(&_LateStartup);
            fw::_RunFrameworkInitialization(lateStartup->Function<void()>());
        }
        fw::_RuntimeRun();
    } catch (...) {
        pending = std::current_exception();
    }
    if (pending) {
        fw::_UnhandledException(pending);
    }
}

void _EarlyStartup() {
    fw::Application::_SetSupportsHiDPI(true);
    fw::_RuntimeInitExternalClasses();
    fw::_InitPluginEntrypoints();
    _InitFileTypes();
    _NewAppInstance();
    _ApplicationAddMenuHandlers();
}

void _InitFileTypes() {
    FileTypes::_Initialize();
}

void _NewAppInstance() {
    fw::Ref<App> app = fw::RuntimeNewObject<App>();
    app->Constructor();
    app->SetMenuBar(MenuBar1::Instance());
    fw::_RuntimeRegisterAppObject(app);
}

void _ApplicationAddMenuHandlers() {
    // The program installs no menu handler: quitting is the quit item's own behaviour.
}

void _LateStartup() {
    _MakeDefaultView();
}

void _MakeDefaultView() {
    // The framework holds the open window; the start-up keeps no reference of its own.
    (void)KarutaWindow::Instance();
}

}  // namespace game
