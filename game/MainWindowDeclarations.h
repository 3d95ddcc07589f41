#pragma once

#include <cstdint>
#include <span>

#include "fw/properties/DeclaredPropertyList.h"

// What the main window is made of, as declared data: its own property list and its 45 controls
// in creation order, each with the property list it is given. Nothing here is computed from
// the game's state; positions and values stand as declared, once.
namespace game {

enum class ControlKind {
    CardCanvas,  // a card frame, member of the set "CardCanvas"
    FudaCanvas,  // a card face, member of the set "FudaCanvas"
    Canvas,
    Label,
    TextField,
    TextArea,
    Listbox,
    PushButton,
    Separator,
    Timer,
};

struct ControlDeclaration {
    ControlKind kind;
    const char* name;  // the set's name for set members
    int64_t index;     // the member's index, or the no-index value outside a set
    const fw::DeclaredPropertyList& (*propertyList)();
};

// The main window's 22 window properties.
const fw::DeclaredPropertyList& MainWindowPropertyList();
// The 45 controls in creation order; the first 30 are made by the first half of control
// creation and the other 15 by the second.
std::span<const ControlDeclaration> MainWindowControls();
inline constexpr size_t kFirstCreationHalf = 30;

}  // namespace game
