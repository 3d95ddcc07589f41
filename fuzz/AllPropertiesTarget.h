#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fw/properties/PropertyList.h"
#include "tests/support/DeclaredPropertyTypes.h"

// A target that bears every property name the framework's classes declare, with its declared
// type, and keeps the values it is given. The fuzzer and the seed writer share it, so the seeds
// are lists this target reads.
class AllPropertiesTarget : public fw::PropertyTarget {
public:
    AllPropertiesTarget() {
        for (size_t i = 0; i < Declared().size(); ++i) {
            values_.push_back(InitialValue(Declared()[i].second, static_cast<int64_t>(i)));
        }
        wasSet_.assign(values_.size(), false);
    }

    std::optional<fw::PropertyType> PropertyTypeOf(std::string_view name) const override {
        const auto& index = Index();
        if (auto it = index.find(name); it != index.end()) {
            return Declared()[it->second].second;
        }
        return std::nullopt;
    }

    void SetProperty(std::string_view name, const fw::PropertyValue& value) override {
        const auto& index = Index();
        auto it = index.find(name);
        // The reader vouched for this name and type, and a list names a property only once:
        // anything else is the reader's fault.
        if (it == index.end() || fw::TypeOf(value) != Declared()[it->second].second ||
            wasSet_[it->second]) {
            __builtin_trap();
        }
        wasSet_[it->second] = true;
        values_[it->second] = value;
        received_.push_back(fw::PropertyEntry{std::string(name), value});
    }

    // Every value as one list, so that two states compare bit for bit (NaN included).
    std::string Snapshot() const {
        std::vector<fw::PropertyEntry> entries;
        for (size_t i = 0; i < values_.size(); ++i) {
            entries.push_back(fw::PropertyEntry{std::string(Declared()[i].first), values_[i]});
        }
        return fw::WritePropertyList(entries);
    }

    // The values set, in the order they were set.
    const std::vector<fw::PropertyEntry>& Received() const { return received_; }

    static const std::array<std::pair<std::string_view, fw::PropertyType>, 96>& Declared() {
        return karuta_test::kDeclaredPropertyTypes;
    }

private:
    static const std::unordered_map<std::string_view, size_t>& Index() {
        static const auto* index = [] {
            auto* map = new std::unordered_map<std::string_view, size_t>;
            for (size_t i = 0; i < Declared().size(); ++i) {
                map->emplace(Declared()[i].first, i);
            }
            return map;
        }();
        return *index;
    }

    // A value no list is likely to carry, so that a change shows.
    static fw::PropertyValue InitialValue(fw::PropertyType type, int64_t n) {
        switch (type) {
            case fw::PropertyType::Integer:
                return n * 1000 + 7;
            case fw::PropertyType::Boolean:
                return n % 2 == 1;
            case fw::PropertyType::String:
                return std::string("initial ") + std::to_string(n);
            case fw::PropertyType::Color:
                return fw::Color{0x12345600u + static_cast<uint32_t>(n)};
            case fw::PropertyType::Single:
                return 1.25f;
            case fw::PropertyType::Double:
                return 2.5;
            case fw::PropertyType::FontUnit:
                return fw::FontUnit{3};
        }
        return {};
    }

    std::vector<fw::PropertyValue> values_;
    std::vector<bool> wasSet_;
    std::vector<fw::PropertyEntry> received_;
};
