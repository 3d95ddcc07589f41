#pragma once

#include <string_view>

#include "fw/properties/PropertyTable.h"

namespace bench {

// A call of one of the layer's C++ setters, with a value already decoded: what setting a
// property costs without a property list, the list's name lookup and the property table.
using SetterCall = void (*)(fw::PropertyHolder& target, const fw::PropertyValue& value);

// The setter of the named property on the target's class, or null when the class has none.
// Looked up once, before measuring; the call itself goes straight to the setter.
SetterCall DirectSetter(const fw::PropertyHolder& target, std::string_view name);

}  // namespace bench
