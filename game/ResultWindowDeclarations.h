#pragma once

#include "fw/properties/DeclaredPropertyList.h"

// What the result window is made of, as declared data: its own property list and those of its
// two controls, the label "Message" and the button "OKButton".
namespace game {

const fw::DeclaredPropertyList& ResultWindowPropertyList();
const fw::DeclaredPropertyList& MessageLabelPropertyList();
const fw::DeclaredPropertyList& OKButtonPropertyList();

}  // namespace game
