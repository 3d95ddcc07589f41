#pragma once

#include <string>
#include <string_view>

#include "fw/properties/PropertyList.h"

namespace fw {

// A control's declared font. The name is kept byte for byte as declared ("MS 明朝" with its space,
// "平成明朝\r" with its carriage return); what the widget shows is the nearest installed family.
struct DeclaredFont {
    std::string name;
    float size = 0;  // pixels; 0 keeps the platform's size
    FontUnit unit;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// The installed family that shows a declared font name at the platform's size: a Mincho or Gyosho
// name (with 明朝 or 行書) gets a Mincho family (below 20 px one whose kana keep their voicing
// marks, from there on the serif CJK family; Qt's serif when no CJK serif is installed), an
// installed family itself, and "System", an empty name or any other name the application's UI font.
std::string FontFamilyFor(std::string_view declaredName);

}  // namespace fw
