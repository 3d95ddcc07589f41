#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fw/core/Color.h"
#include "fw/properties/PropertyList.h"

// The main window's 22 window properties as a realistic list for the framework's own tests and
// for the fuzzer's seed corpus, which cannot reach the game's declarations. It needs no Qt.
namespace karuta_test {

inline std::vector<fw::PropertyEntry> MainWindowList() {
    return {
        {"Width", int64_t{560}},
        {"Height", int64_t{562}},
        {"MinWidth", int64_t{64}},
        {"MinHeight", int64_t{64}},
        {"MaxWidth", int64_t{32000}},
        {"MaxHeight", int64_t{32000}},
        {"Frame", int64_t{0}},
        {"Title", std::string("ソラネリ(Mac)")},
        {"CloseButton", true},
        {"Resizeable", false},
        {"MaximizeButton", false},
        {"MinimizeButton", false},
        {"FullScreenButton", false},
        {"Composite", false},
        {"MacProcID", int64_t{0}},
        {"Placement", int64_t{0}},
        {"Visible", true},
        {"LiveResize", false},
        {"FullScreen", false},
        {"MenuBarVisible", false},
        {"HasBackColor", true},
        {"BackColor", fw::RGB(255, 128, 0)},
    };
}

}  // namespace karuta_test
