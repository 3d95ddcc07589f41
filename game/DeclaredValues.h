#pragma once

#include <cstdint>
#include <string>

#include "fw/core/Color.h"
#include "fw/properties/DeclaredPropertyList.h"
#include "fw/properties/PropertyList.h"

// Small constructors that keep the declared property tables readable: each says the type of the
// value it makes, as the property list will store it.
namespace game::declare {

inline fw::PropertyEntry Int(const char* name, int64_t value) {
    return {name, value};
}
inline fw::PropertyEntry Bool(const char* name, bool value) {
    return {name, value};
}
inline fw::PropertyEntry Text(const char* name, std::string value) {
    return {name, std::move(value)};
}
inline fw::PropertyEntry Colour(const char* name, fw::Color value) {
    return {name, value};
}
inline fw::PropertyEntry Single(const char* name, float value) {
    return {name, value};
}
inline fw::PropertyEntry Double(const char* name, double value) {
    return {name, value};
}
inline fw::PropertyEntry Unit(const char* name, uint8_t value) {
    return {name, fw::FontUnit{value}};
}

// The list that build() declares, encoded on first use and kept for the run; it is read once
// too, when it is first applied.
template <auto build>
const fw::DeclaredPropertyList& EncodedList() {
    static const fw::DeclaredPropertyList list(fw::WritePropertyList(build()));
    return list;
}

// The Index of every control that is not a member of a control set.
inline constexpr int64_t kNoIndex = -2147483648LL;
// Every declared text uses a 12-point size.
inline constexpr float kTextSize = 12.0f;
inline constexpr fw::Color kBlack = fw::RGB(0, 0, 0);
inline constexpr fw::Color kWhite = fw::RGB(255, 255, 255);

}  // namespace game::declare
