#pragma once

#include <string>

// Private to the framework: what the X server's root window says to every program.
namespace fw::detail {

// The text of the root window's property of that name, as the display's first screen has it;
// empty when the program is not on X, the property is not set, or it is not text.
std::string RootWindowText(const char* property);

}  // namespace fw::detail
