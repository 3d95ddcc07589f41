#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "fw/core/Color.h"
#include "fw/core/Exceptions.h"

// The binary property-list format in which windows and controls receive their declared values.
// A list is a run of entries with no header, count or terminator; each entry is the property's
// ASCII name, one space byte, then the value encoded by the property's type on the target's
// class (so a reader must know every name's type):
//
//   Integer   8 bytes, signed 64-bit two's complement, little-endian
//   Boolean   1 byte, 0 or 1
//   String    4-byte little-endian byte count n, then n bytes of UTF-8
//   Color     4 bytes, 0xAARRGGBB little-endian (blue, green, red, alpha), alpha 0 opaque
//   Single    4 bytes, IEEE 754 single, little-endian
//   Double    8 bytes, IEEE 754 double, little-endian
//   FontUnit  1 byte
//
// This file knows nothing of Qt, so the reader can be fuzzed on its own.
namespace fw {

enum class PropertyType : uint8_t { Integer, Boolean, String, Color, Single, Double, FontUnit };

const char* PropertyTypeName(PropertyType type) noexcept;

// The unit of a text size; every declared list carries 0.
struct FontUnit {
    uint8_t value = 0;
    friend bool operator==(FontUnit a, FontUnit b) noexcept { return a.value == b.value; }
};

// One value; the alternative held is the property's type (same order as PropertyType).
using PropertyValue = std::variant<int64_t, bool, std::string, Color, float, double, FontUnit>;

PropertyType TypeOf(const PropertyValue& value) noexcept;

struct PropertyEntry {
    std::string name;
    PropertyValue value;
};

// A list that cannot be read (or an entry that cannot be written). The message names the
// property and the byte offset. Property() is the name as it stands in the list (at most its
// first 64 bytes; for a name with no space after it, the bytes from the entry's start to the
// end). Offset() is where the entry starts for a fault in the name (unknown, empty, no space,
// named twice), and where the value starts for a fault in the value (cut short, a String count
// running past the end, a Boolean byte other than 0 or 1).
class PropertyListException : public RuntimeException {
public:
    PropertyListException(const std::string& message, std::string property, size_t offset);
    const char* ClassName() const noexcept override { return "PropertyListException"; }
    const std::string& Property() const noexcept { return property_; }
    size_t Offset() const noexcept { return offset_; }

private:
    std::string property_;
    size_t offset_;
};

// Anything that takes a property list: it tells the reader the type of each of its property
// names and sets one decoded value at a time.
class PropertyTarget {
public:
    virtual ~PropertyTarget() = default;
    // The type of the named property on this target's class, or nothing when the class lacks it.
    virtual std::optional<PropertyType> PropertyTypeOf(std::string_view name) const = 0;
    // Sets a value whose type PropertyTypeOf has vouched for.
    virtual void SetProperty(std::string_view name, const PropertyValue& value) = 0;

    // The mass setter's way, which looks each name up once: the named property's type together
    // with a key that SetFoundProperty takes in place of a second look-up by name. The key
    // stands for the property on this target's class only. By default there is no key (null)
    // and SetFoundProperty sets by name; a class that overrides the pair keeps it in step with
    // PropertyTypeOf and SetProperty.
    struct FoundProperty {
        PropertyType type;
        const void* key;
    };
    virtual std::optional<FoundProperty> FindProperty(std::string_view name) const {
        const std::optional<PropertyType> type = PropertyTypeOf(name);
        if (!type) {
            return std::nullopt;
        }
        return FoundProperty{*type, nullptr};
    }
    virtual void SetFoundProperty(const void* /*key*/, std::string_view name,
                                  PropertyValue&& value) {
        SetProperty(name, value);
    }

    // What a decoded list depends on: targets that answer the same non-null class read every
    // list with the same types and take the same keys, so a list decoded for one of them holds
    // for all (see DeclaredPropertyList). Null by default: nothing is shared.
    virtual const void* PropertyClass() const noexcept { return nullptr; }
};

// Encodes entries in the order given. A name that is empty or holds a space or a byte outside
// printable ASCII raises PropertyListException, since no reader could find where it ends, and so
// does a name given twice, which the reader refuses.
std::string WritePropertyList(const std::vector<PropertyEntry>& entries);

// Decodes a whole list against the target's types without touching the target. A name the
// class lacks, an empty name, a name with no space after it (trailing bytes end up here), a value
// cut short, a Boolean byte other than 0 or 1, or a property named twice raises
// PropertyListException. Names are found only at the start of an entry: values may hold any
// byte, spaces and carriage returns included.
std::vector<PropertyEntry> ReadPropertyList(std::string_view list, const PropertyTarget& target);

// The mass property setter: decodes the whole list first and only then sets the values, so a
// malformed list raises before anything on the target changes. An exception that the target's
// own SetProperty raises passes through unchanged, with the earlier entries already set.
void RuntimeMassPropertySetter(PropertyTarget& target, std::string_view list);

}  // namespace fw
