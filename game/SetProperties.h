#pragma once

#include "fw/properties/DeclaredPropertyList.h"

namespace game {

// Applies a declared property list to a window or a control in one step. Whatever the mass
// setter raises passes on unchanged.
inline void _SetProperties(fw::PropertyTarget& target, const fw::DeclaredPropertyList& list) {
    list.ApplyTo(target);
}

}  // namespace game
