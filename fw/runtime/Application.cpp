#include "fw/runtime/Application.h"

#include "fw/core/FaultPoint.h"

namespace fw {
namespace {

bool gSupportsHiDPI = false;

}  // namespace

void Application::SetMenuBar(Ref<fw::MenuBar> bar) {
    FaultPoint("Application.MenuBar");
    menuBar_ = std::move(bar);
}

void Application::_SetSupportsHiDPI(bool on) {
    FaultPoint("Application._SetSupportsHiDPI");
    gSupportsHiDPI = on;
}

bool Application::SupportsHiDPI() noexcept {
    return gSupportsHiDPI;
}

}  // namespace fw
