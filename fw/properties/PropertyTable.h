#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "fw/properties/PropertyList.h"

// The declared properties of a framework class, registered once per class as a table of
// name -> type -> getter and setter. A class's table starts as a copy of its base class's table
// (Inherit), so a Label knows Left and Name without listing them again, and a subclass may add
// rows or replace a row of the same name. The property-list reader asks the table for types; the
// mass setter sets through it; tests read every value back through it.
//
//   FW_PROPERTY_TABLE(Label)                       // in the class body
//
//   const fw::PropertyTable<Label>& Label::Properties() {
//       static const auto table = fw::PropertyTable<Label>::Inherit(FontControl::Properties())
//           .Add("Text", &Label::Text, &Label::SetText)
//           .Alias("MultiLine", "Multiline");
//       return table;
//   }
namespace fw {

// A property target whose values can be read back by name too.
class PropertyHolder : public PropertyTarget {
public:
    // The current value of the named property, or nothing when the class lacks it.
    virtual std::optional<PropertyValue> GetProperty(std::string_view name) const = 0;
};

namespace detail {

template <class T>
struct PropertyTypeFor;
template <>
struct PropertyTypeFor<int64_t> {
    static constexpr PropertyType value = PropertyType::Integer;
};
template <>
struct PropertyTypeFor<bool> {
    static constexpr PropertyType value = PropertyType::Boolean;
};
template <>
struct PropertyTypeFor<std::string> {
    static constexpr PropertyType value = PropertyType::String;
};
template <>
struct PropertyTypeFor<Color> {
    static constexpr PropertyType value = PropertyType::Color;
};
template <>
struct PropertyTypeFor<float> {
    static constexpr PropertyType value = PropertyType::Single;
};
template <>
struct PropertyTypeFor<double> {
    static constexpr PropertyType value = PropertyType::Double;
};
template <>
struct PropertyTypeFor<FontUnit> {
    static constexpr PropertyType value = PropertyType::FontUnit;
};

// Looks a name up without making a std::string of it.
struct PropertyNameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const noexcept {
        return std::hash<std::string_view>{}(name);
    }
};

[[noreturn]] void ThrowNoSuchProperty(const char* className, std::string_view name);
[[noreturn]] void ThrowPropertyTypeMismatch(const char* className, std::string_view name);

}  // namespace detail

// One property of a class: its type and how to set and read it. A row works on the property
// holder and casts down to the class that registered it, so a derived class shares its base
// class's rows as they are: a set is one call however deep the class lies.
struct PropertyRow {
    PropertyType type;
    std::function<void(PropertyHolder&, PropertyValue&&)> set;
    std::function<PropertyValue(const PropertyHolder&)> get;
};

template <class C>
class PropertyTable {
public:
    using Row = PropertyRow;

    PropertyTable() = default;

    // A table that starts with every row of the base class's table.
    template <class Base>
    requires std::is_base_of_v<Base, C>
    static PropertyTable Inherit(const PropertyTable<Base>& base) {
        PropertyTable table;
        table.rows_ = base.Rows();
        return table;
    }

    // Registers a property; its type follows from what the getter returns (int64_t, bool,
    // std::string, Color, float, double, FontUnit). A row of the same name is replaced.
    template <class Getter, class Setter>
    PropertyTable& Add(std::string name, Getter getter, Setter setter) & {
        using Value = std::remove_cvref_t<std::invoke_result_t<Getter, const C&>>;
        rows_.insert_or_assign(
            std::move(name),
            Row{detail::PropertyTypeFor<Value>::value,
                [setter](PropertyHolder& self, PropertyValue&& value) {
                    std::invoke(setter, static_cast<C&>(self), std::get<Value>(std::move(value)));
                },
                [getter](const PropertyHolder& self) {
                    return PropertyValue(std::in_place_type<Value>,
                                         std::invoke(getter, static_cast<const C&>(self)));
                }});
        return *this;
    }
    template <class Getter, class Setter>
    PropertyTable&& Add(std::string name, Getter getter, Setter setter) && {
        Add(std::move(name), std::move(getter), std::move(setter));
        return std::move(*this);
    }

    // A second name for an existing row (the same property spelt with other capitals).
    // std::out_of_range when there is no row of that name.
    PropertyTable& Alias(std::string alias, std::string_view existing) & {
        const Row* row = Find(existing);
        if (row == nullptr) {
            throw std::out_of_range("no property " + std::string(existing) + " to alias");
        }
        rows_.insert_or_assign(std::move(alias), Row(*row));
        return *this;
    }
    PropertyTable&& Alias(std::string alias, std::string_view existing) && {
        Alias(std::move(alias), existing);
        return std::move(*this);
    }

    std::optional<PropertyType> TypeOf(std::string_view name) const {
        const Row* row = Find(name);
        if (row == nullptr) {
            return std::nullopt;
        }
        return row->type;
    }

    // Sets the named property. RuntimeException when the class lacks it or the value has
    // another type; nothing changes then.
    void Set(C& target, std::string_view name, const PropertyValue& value) const {
        const Row* row = Find(name);
        if (row == nullptr) {
            detail::ThrowNoSuchProperty(target.ClassName(), name);
        }
        SetRow(target, *row, name, PropertyValue(value));
    }

    // The row of the named property, or null; rows stay where they are for the table's life.
    const Row* Find(std::string_view name) const noexcept {
        auto it = rows_.find(name);
        return it == rows_.end() ? nullptr : &it->second;
    }

    // Sets the property of a row that Find gave for name, as Set does. A text value is moved
    // into the property, not copied.
    static void SetRow(C& target, const Row& row, std::string_view name, PropertyValue&& value) {
        if (fw::TypeOf(value) != row.type) {
            detail::ThrowPropertyTypeMismatch(target.ClassName(), name);
        }
        row.set(target, std::move(value));
    }

    std::optional<PropertyValue> Get(const C& target, std::string_view name) const {
        const Row* row = Find(name);
        if (row == nullptr) {
            return std::nullopt;
        }
        return row->get(target);
    }

    const std::unordered_map<std::string, Row, detail::PropertyNameHash, std::equal_to<>>& Rows()
        const noexcept {
        return rows_;
    }

private:
    // Every property of every list is looked up here: one hash of the name and, as a rule, one
    // comparison. The map's nodes never move, so a row's address is a stable key.
    std::unordered_map<std::string, Row, detail::PropertyNameHash, std::equal_to<>> rows_;
};

}  // namespace fw

// Declares, in a class body, the class's property table and implements fw::PropertyHolder from
// it. Leaves the access at public.
#define FW_PROPERTY_TABLE(Class)                                                               \
public:                                                                                        \
    static const ::fw::PropertyTable<Class>& Properties();                                     \
    std::optional<::fw::PropertyType> PropertyTypeOf(std::string_view name) const override {   \
        return Properties().TypeOf(name);                                                      \
    }                                                                                          \
    void SetProperty(std::string_view name, const ::fw::PropertyValue& value) override {       \
        Properties().Set(*this, name, value);                                                  \
    }                                                                                          \
    std::optional<::fw::PropertyValue> GetProperty(std::string_view name) const override {     \
        return Properties().Get(*this, name);                                                  \
    }                                                                                          \
    std::optional<FoundProperty> FindProperty(std::string_view name) const override {          \
        const auto* row = Properties().Find(name);                                             \
        if (row == nullptr) {                                                                  \
            return std::nullopt;                                                               \
        }                                                                                      \
        return FoundProperty{row->type, row};                                                  \
    }                                                                                          \
    const void* PropertyClass() const noexcept override {                                      \
        return &Properties();                                                                  \
    }                                                                                          \
    void SetFoundProperty(const void* key, std::string_view name, ::fw::PropertyValue&& value) \
        override {                                                                             \
        if (key == nullptr) {                                                                  \
            SetProperty(name, value);                                                          \
            return;                                                                            \
        }                                                                                      \
        using Table = ::fw::PropertyTable<Class>;                                              \
        Table::SetRow(*this, *static_cast<const typename Table::Row*>(key), name,              \
                      std::move(value));                                                       \
    }
