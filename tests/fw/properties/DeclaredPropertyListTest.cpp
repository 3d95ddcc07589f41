// A declared list is read once for the class it is applied to and then set from what that
// reading kept: every application must still give each target the whole list, a list must be
// read afresh for a class that types its names otherwise, and a malformed list must raise at
// every application without ever changing a target.
#include "fw/properties/DeclaredPropertyList.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace {

using fw::DeclaredPropertyList;
using fw::PropertyEntry;
using fw::PropertyListException;
using fw::PropertyType;
using fw::PropertyValue;

using Types = std::map<std::string, PropertyType, std::less<>>;

// A target whose class is named by a tag: targets with one tag share their types, as the
// instances of one framework class do. A null tag stands for a target of no class.
class TaggedTarget : public fw::PropertyTarget {
public:
    TaggedTarget(const void* tag, const Types& types) : tag_(tag), types_(types) {}

    std::optional<PropertyType> PropertyTypeOf(std::string_view name) const override {
        if (auto it = types_.find(name); it != types_.end()) {
            return it->second;
        }
        return std::nullopt;
    }
    void SetProperty(std::string_view name, const PropertyValue& value) override {
        if (name == failOn) {
            throw std::runtime_error("refused " + failOn);
        }
        sets.push_back(PropertyEntry{std::string(name), value});
    }
    const void* PropertyClass() const noexcept override { return tag_; }

    std::string failOn;
    std::vector<PropertyEntry> sets;

private:
    const void* tag_;
    const Types& types_;
};

const int kLabelTag = 1;
const int kGaugeTag = 2;
// "Level" is an Integer on the one class and a Double on the other, so the same eight bytes
// read as different values.
const Types kLabelTypes = {{"Level", PropertyType::Integer},
                           {"Text", PropertyType::String},
                           {"On", PropertyType::Boolean}};
const Types kGaugeTypes = {{"Level", PropertyType::Double}, {"Text", PropertyType::String}};

const std::vector<PropertyEntry> kEntries = {
    {"Text", std::string(300, 'x')},  // longer than any small-string buffer
    {"Level", int64_t{0x4010000000000000}},
    {"On", true},
};

TEST(DeclaredPropertyList, EveryApplicationGivesTheWholeList) {
    struct Case {
        const char* what;
        const void* tag;
    };
    const Case cases[] = {{"one class", &kLabelTag}, {"no class", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DeclaredPropertyList list(fw::WritePropertyList(kEntries));
        for (int application = 0; application < 3; ++application) {
            TaggedTarget target(c.tag, kLabelTypes);
            list.ApplyTo(target);
            ASSERT_EQ(target.sets.size(), kEntries.size()) << "application " << application;
            for (size_t i = 0; i < kEntries.size(); ++i) {
                EXPECT_EQ(target.sets[i].name, kEntries[i].name) << "application " << application;
                EXPECT_EQ(target.sets[i].value, kEntries[i].value)
                    << "application " << application << ", " << kEntries[i].name;
            }
        }
    }
}

TEST(DeclaredPropertyList, AnotherClassReadsTheBytesWithItsOwnTypes) {
    const DeclaredPropertyList list(fw::WritePropertyList(
        {{"Level", int64_t{0x4010000000000000}}, {"Text", std::string("a")}}));
    // Alternating, so that a reading kept for either class would show in the other.
    for (int round = 0; round < 2; ++round) {
        TaggedTarget label(&kLabelTag, kLabelTypes);
        list.ApplyTo(label);
        ASSERT_EQ(label.sets.size(), 2u);
        EXPECT_EQ(label.sets[0].value, PropertyValue(int64_t{0x4010000000000000}));

        TaggedTarget gauge(&kGaugeTag, kGaugeTypes);
        list.ApplyTo(gauge);
        ASSERT_EQ(gauge.sets.size(), 2u);
        EXPECT_EQ(gauge.sets[0].value, PropertyValue(4.0));
    }
}

TEST(DeclaredPropertyList, MalformedListRaisesAtEveryApplicationAndSetsNothing) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string property;
        size_t offset;
    };
    const std::string valid = fw::WritePropertyList(kEntries);
    const Case cases[] = {
        {"cut short", valid.substr(0, valid.size() - 1), "On", valid.size() - 1},
        {"unknown to the class", fw::WritePropertyList({{"Level", 1.5}, {"Gauge", int64_t{1}}}),
         "Gauge", 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DeclaredPropertyList list(c.bytes);
        for (int application = 0; application < 2; ++application) {
            TaggedTarget target(&kLabelTag, kLabelTypes);
            try {
                list.ApplyTo(target);
                ADD_FAILURE() << "accepted at application " << application;
            } catch (const PropertyListException& e) {
                EXPECT_EQ(e.Property(), c.property);
                EXPECT_EQ(e.Offset(), c.offset);
            }
            EXPECT_TRUE(target.sets.empty()) << "application " << application;
        }
    }
}

TEST(DeclaredPropertyList, KnownToAnotherClassAfterAFailedReading) {
    Types gaugeTypes = kGaugeTypes;
    gaugeTypes.emplace("Gauge", PropertyType::Integer);
    const DeclaredPropertyList list(fw::WritePropertyList({{"Level", 1.5}, {"Gauge", int64_t{1}}}));
    TaggedTarget label(&kLabelTag, kLabelTypes);
    EXPECT_THROW(list.ApplyTo(label), PropertyListException);
    TaggedTarget gauge(&kGaugeTag, gaugeTypes);
    list.ApplyTo(gauge);
    ASSERT_EQ(gauge.sets.size(), 2u);
    EXPECT_EQ(gauge.sets[0].value, PropertyValue(1.5));
}

TEST(DeclaredPropertyList, SetterFailurePassesThroughAndSpoilsNoLaterApplication) {
    const DeclaredPropertyList list(fw::WritePropertyList(kEntries));
    for (const std::string failOn : {"Level", ""}) {
        SCOPED_TRACE("failing on \"" + failOn + "\"");
        TaggedTarget first(&kLabelTag, kLabelTypes);
        first.failOn = failOn;
        if (failOn.empty()) {
            list.ApplyTo(first);
            EXPECT_EQ(first.sets.size(), 3u);
        } else {
            EXPECT_THROW(list.ApplyTo(first), std::runtime_error);
            ASSERT_EQ(first.sets.size(), 1u);  // the entries before the failing one
            EXPECT_EQ(first.sets[0].name, "Text");
        }
    }
    TaggedTarget later(&kLabelTag, kLabelTypes);
    list.ApplyTo(later);
    ASSERT_EQ(later.sets.size(), 3u);
    EXPECT_EQ(later.sets[0].value, kEntries[0].value);
}

}  // namespace
