#pragma once

#include <string_view>
#include <vector>

#include "fw/properties/PropertyList.h"

namespace fw::detail {

// A decoded entry whose name still points into the list it was read from, with the key the
// target gave for the property.
struct DecodedEntry {
    std::string_view name;
    PropertyValue value;
    const void* key;
};

// Decodes a whole list against the target's types without touching the target; raises
// PropertyListException on the first fault, in list order (see ReadPropertyList).
std::vector<DecodedEntry> DecodePropertyList(std::string_view list, const PropertyTarget& target);

}  // namespace fw::detail
