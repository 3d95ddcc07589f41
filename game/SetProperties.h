#pragma once

#include <string>

#include "fw/PropertyList.h"

namespace game {

// Applies a declared property list to a window or a control in one step. Whatever the mass
// setter raises passes on unchanged.
inline void _SetProperties(fw::PropertyTarget& target, const std::string& list) {
    fw::RuntimeMassPropertySetter(target, list);
}

}  // namespace game
