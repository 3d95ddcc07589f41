// Which display platforms Qt is asked to try: the user's choice stands, a Wayland session (or a
// Wayland display named, even as nothing) with X beside it gets both in the program's order, and
// one without X gets Wayland alone.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fw/desktop/DisplayPlatform.h"

TEST(DisplayPlatformTest, TheChoiceFollowsTheSessionAndThePreference) {
    using fw::DisplayPreference;
    struct Row {
        const char* name;
        fw::detail::DisplayEnvironment environment;
        DisplayPreference preference;
        const char* expected;  // null: Qt chooses
    };
    const Row rows[] = {
        {"X session", {"", "x11", std::nullopt, ":0"}, DisplayPreference::kX, nullptr},
        {"no session named, X", {"", "", std::nullopt, ":0"}, DisplayPreference::kWayland, nullptr},
        {"Wayland beside X, X preferred",
         {"", "wayland", "wayland-0", ":0"},
         DisplayPreference::kX,
         "xcb;wayland"},
        {"Wayland beside X, Wayland preferred",
         {"", "wayland", "wayland-0", ":0"},
         DisplayPreference::kWayland,
         "wayland;xcb"},
        {"Wayland display without a session type",
         {"", "", "wayland-0", ":0"},
         DisplayPreference::kX,
         "xcb;wayland"},
        {"Wayland session type without a display named",
         {"", "wayland", std::nullopt, ":0"},
         DisplayPreference::kX,
         "xcb;wayland"},
        {"Wayland display set but empty, X session",
         {"", "x11", "", ":0"},
         DisplayPreference::kX,
         "xcb;wayland"},
        {"Wayland without X", {"", "wayland", "wayland-0", ""}, DisplayPreference::kX, "wayland"},
        {"the user's choice",
         {"offscreen", "wayland", "wayland-0", ":0"},
         DisplayPreference::kX,
         nullptr},
    };
    for (const Row& row : rows) {
        const char* chosen = fw::detail::ChosenDisplayPlatform(row.environment, row.preference);
        EXPECT_EQ(std::string(chosen != nullptr ? chosen : "(Qt's)"),
                  std::string(row.expected != nullptr ? row.expected : "(Qt's)"))
            << row.name;
    }
}
