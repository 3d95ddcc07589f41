#pragma once

#include "fw/runtime/Application.h"

namespace game {

// The application object. It handles no application event and adds nothing of its own but a
// constructor that does nothing; the framework holds the one instance for the run.
class App : public fw::Application {
public:
    void Constructor() override {}
    const char* ClassName() const noexcept override { return "App"; }
};

}  // namespace game
