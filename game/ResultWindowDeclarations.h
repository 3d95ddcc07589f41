#pragma once

#include <string>

// What the result window is made of, as declared data: its own property list and those of its
// two controls, the label "Message" and the button "OKButton".
namespace game {

const std::string& ResultWindowPropertyList();
const std::string& MessageLabelPropertyList();
const std::string& OKButtonPropertyList();

}  // namespace game
