// The binary property-list format: byte-exact encodings, round trips, and every way a list can
// be malformed (each must raise naming the property and byte offset, and set nothing).
#include "fw/properties/PropertyList.h"
#include "tests/support/DeclaredPropertyTypes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

namespace {

using fw::Color;
using fw::FontUnit;
using fw::PropertyEntry;
using fw::PropertyListException;
using fw::PropertyType;
using fw::PropertyValue;

// Every property name the framework's classes declare, with its type.
const std::map<std::string, PropertyType, std::less<>>& DeclaredTypes() {
    static const std::map<std::string, PropertyType, std::less<>> types(
        karuta_test::kDeclaredPropertyTypes.begin(), karuta_test::kDeclaredPropertyTypes.end());
    return types;
}

// A target that knows every declared name and records each value it is given.
class RecordingTarget : public fw::PropertyTarget {
public:
    std::optional<PropertyType> PropertyTypeOf(std::string_view name) const override {
        const auto& types = DeclaredTypes();
        if (auto it = types.find(name); it != types.end()) {
            return it->second;
        }
        return std::nullopt;
    }
    void SetProperty(std::string_view name, const PropertyValue& value) override {
        sets.push_back(PropertyEntry{std::string(name), value});
    }

    std::vector<PropertyEntry> sets;
};

// "00 7D FF" -> the three bytes.
std::string Hex(std::string_view hex) {
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 3) {
        out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    }
    return out;
}

std::string ShowBytes(std::string_view bytes) {
    std::string out;
    char buffer[4];
    for (char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X ", static_cast<unsigned char>(c));
        out += buffer;
    }
    return out;
}

// Values equal bit for bit (so NaN, -0.0 and denormals count as kept only when kept exactly).
bool SameValue(const PropertyValue& a, const PropertyValue& b) {
    if (a.index() != b.index()) {
        return false;
    }
    if (const auto* f = std::get_if<float>(&a)) {
        return std::bit_cast<uint32_t>(*f) == std::bit_cast<uint32_t>(std::get<float>(b));
    }
    if (const auto* d = std::get_if<double>(&a)) {
        return std::bit_cast<uint64_t>(*d) == std::bit_cast<uint64_t>(std::get<double>(b));
    }
    return a == b;
}

void ExpectSameEntries(const std::vector<PropertyEntry>& actual,
                       const std::vector<PropertyEntry>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].name, expected[i].name) << "entry " << i;
        EXPECT_TRUE(SameValue(actual[i].value, expected[i].value))
            << "entry " << i << " (" << expected[i].name << ")";
    }
}

std::string Utf8(const char8_t* text) {
    return std::string(reinterpret_cast<const char*>(text));
}

// One entry for every declared name, each with a value of its own.
std::vector<PropertyEntry> AllDeclaredEntries() {
    std::vector<PropertyEntry> entries;
    int64_t n = 0;
    for (const auto& [name, type] : DeclaredTypes()) {
        PropertyValue value;
        switch (type) {
            case PropertyType::Integer:
                value = n;
                break;
            case PropertyType::Boolean:
                value = n % 2 == 0;
                break;
            case PropertyType::String:
                value = name + "!";
                break;
            case PropertyType::Color:
                value = Color{static_cast<uint32_t>(n)};
                break;
            case PropertyType::Single:
                value = static_cast<float>(n);
                break;
            case PropertyType::Double:
                value = static_cast<double>(n) / 4;
                break;
            case PropertyType::FontUnit:
                value = FontUnit{static_cast<uint8_t>(n)};
                break;
        }
        entries.push_back({name, value});
        ++n;
    }
    return entries;
}

const std::vector<PropertyEntry> kTimer = {{"Mode", int64_t{2}}, {"Period", int64_t{1000}}};

// --- Encodings, byte for byte --------------------------------------------------------------

TEST(PropertyListFormat, TimerListIsTwentyEightBytes) {
    const std::string list = fw::WritePropertyList(kTimer);
    EXPECT_EQ(list,
              "Mode " + Hex("02 00 00 00 00 00 00 00") + "Period " + Hex("E8 03 00 00 00 00 00 00"))
        << ShowBytes(list);
    EXPECT_EQ(list.size(), 28u);
}

struct EncodingCase {
    const char* name;
    PropertyValue value;
    std::string valueBytes;  // what follows "name "
};

TEST(PropertyListFormat, EachValueEncodesToItsExactBytesAndBack) {
    const EncodingCase cases[] = {
        {"Index", int64_t{-2147483648LL}, "00 00 00 80 FF FF FF FF"},
        {"Width", int64_t{32000}, "00 7D 00 00 00 00 00 00"},
        {"Left", int64_t{-1}, "FF FF FF FF FF FF FF FF"},
        {"Top", std::numeric_limits<int64_t>::min(), "00 00 00 00 00 00 00 80"},
        {"Period", int64_t{0x0102030405060708}, "08 07 06 05 04 03 02 01"},
        {"TextSize", 12.0f, "00 00 40 41"},
        {"LineHeight", 1.5, "00 00 00 00 00 00 F8 3F"},
        {"BackColor", fw::RGB(255, 128, 0), "00 80 FF 00"},
        {"TextColor", fw::RGB(0, 0, 0), "00 00 00 00"},
        {"BackColor", fw::RGB(255, 255, 255), "FF FF FF 00"},
        {"TextColor", Color{0x80102030}, "30 20 10 80"},
        {"HelpTag", std::string(), "00 00 00 00"},
        {"TextFont", Utf8(u8"MS 明朝"), "09 00 00 00 4D 53 20 E6 98 8E E6 9C 9D"},
        {"Visible", true, "01"},
        {"Bold", false, "00"},
        {"TextUnit", FontUnit{0}, "00"},
        {"TextUnit", FontUnit{200}, "C8"},
    };
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string expected = std::string(c.name) + " " + Hex(c.valueBytes);
        const std::string written = fw::WritePropertyList({{c.name, c.value}});
        EXPECT_EQ(written, expected) << ShowBytes(written);

        RecordingTarget target;
        ExpectSameEntries(fw::ReadPropertyList(expected, target), {{c.name, c.value}});
    }
}

TEST(PropertyListFormat, StringCountIsFourBytesNotOne) {
    // A list box's InitialValue runs to thousands of bytes.
    const std::string text(0x10203, 'x');
    const std::string list = fw::WritePropertyList({{"InitialValue", text}});
    EXPECT_EQ(list.substr(0, 17), "InitialValue " + Hex("03 02 01 00"));
    EXPECT_EQ(list.size(), 17u + text.size());
}

// --- Round trips ---------------------------------------------------------------------------

TEST(PropertyListRoundTrip, ValuesHoldingSpacesCarriageReturnsAndNamesEndNothing) {
    // Values that a reader scanning for spaces would take for the next names.
    const std::vector<PropertyEntry> entries = {
        {"TextFont", Utf8(u8"MS 明朝")},
        {"Text", std::string("Width \x00\x01 Bold ", 14)},
        {"InitialParent", Utf8(u8"平成明朝\r")},
        {"InitialValue", Utf8(u8"あきのたの\rかりほのいほの\r")},
        {"Left", int64_t{0x2020202020202020}},
        {"TextColor", Color{0x20202020}},
        {"Name", std::string("Title ")},
    };
    const std::string list = fw::WritePropertyList(entries);
    RecordingTarget target;
    fw::RuntimeMassPropertySetter(target, list);
    ExpectSameEntries(target.sets, entries);
}

TEST(PropertyListRoundTrip, AllSevenTypesKeepEveryBit) {
    const std::vector<PropertyEntry> entries = {
        {"Width", int64_t{0}},
        {"Height", std::numeric_limits<int64_t>::max()},
        {"Index", std::numeric_limits<int64_t>::min()},
        {"Visible", true},
        {"Bold", false},
        {"HelpTag", std::string()},
        {"Text", std::string("\0\r\n\xFF", 4)},
        {"InitialValue", std::string(70000, '\r')},
        {"BackColor", Color{0xFFFFFFFF}},
        {"TextColor", Color{0}},
        {"TextSize", -0.0f},
        {"LineHeight", std::numeric_limits<double>::denorm_min()},
        {"LineSpacing", std::numeric_limits<double>::quiet_NaN()},
        {"TextUnit", FontUnit{255}},
    };
    const std::string list = fw::WritePropertyList(entries);
    RecordingTarget target;
    ExpectSameEntries(fw::ReadPropertyList(list, target), entries);
    fw::RuntimeMassPropertySetter(target, list);
    ExpectSameEntries(target.sets, entries);

    for (float f :
         {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::denorm_min(),
          std::numeric_limits<float>::quiet_NaN(), 12.0f}) {
        RecordingTarget single;
        fw::RuntimeMassPropertySetter(single, fw::WritePropertyList({{"TextSize", f}}));
        ExpectSameEntries(single.sets, {{"TextSize", f}});
    }
}

TEST(PropertyListRoundTrip, EveryDeclaredNameInOneList) {
    // Long enough that looking for a repeated name must not report a false one.
    const std::vector<PropertyEntry> entries = AllDeclaredEntries();
    ASSERT_EQ(entries.size(), 96u);
    RecordingTarget target;
    fw::RuntimeMassPropertySetter(target, fw::WritePropertyList(entries));
    ExpectSameEntries(target.sets, entries);
}

TEST(PropertyListRoundTrip, EmptyListSetsNothing) {
    RecordingTarget target;
    fw::RuntimeMassPropertySetter(target, "");
    EXPECT_TRUE(target.sets.empty());
    EXPECT_EQ(fw::WritePropertyList({}), "");
}

// --- Malformed lists -----------------------------------------------------------------------

void ExpectRejected(const std::string& list, const std::string& property, size_t offset) {
    RecordingTarget target;
    try {
        fw::RuntimeMassPropertySetter(target, list);
        ADD_FAILURE() << "accepted: " << ShowBytes(list);
    } catch (const PropertyListException& e) {
        EXPECT_EQ(e.Property(), property) << e.what();
        EXPECT_EQ(e.Offset(), offset) << e.what();
        const std::string message = e.what();
        EXPECT_NE(message.find("at byte " + std::to_string(offset)), std::string::npos) << message;
        if (property.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_") ==
            std::string::npos) {
            EXPECT_NE(message.find('"' + property + '"'), std::string::npos) << message;
        }
    }
    EXPECT_TRUE(target.sets.empty()) << "the target was changed by a rejected list";
}

struct MalformedCase {
    const char* what;
    std::string list;
    std::string property;
    size_t offset;
};

TEST(PropertyListMalformed, RaisesNamingPropertyAndOffsetAndSetsNothing) {
    const std::string timer = fw::WritePropertyList(kTimer);  // 28 bytes
    const std::string eight(8, '\0');
    const std::string longList = fw::WritePropertyList(AllDeclaredEntries());  // 96 entries

    const MalformedCase cases[] = {
        {"unknown name first", "Widht " + eight, "Widht", 0},
        {"unknown name after valid entries", timer + "Colour " + Hex("00 00 00 00"), "Colour", 28},
        {"names are case-sensitive", "width " + eight, "width", 0},
        {"trailing zero bytes", timer + std::string(2, '\0'), std::string(2, '\0'), 28},
        {"trailing name without space", timer + "Mode", "Mode", 28},
        {"trailing name and space only", timer + "Visible ", "Visible", 36},
        {"named twice", timer + "Mode " + eight, "Mode", 28},
        {"named twice far apart", longList + "Bold " + Hex("01"), "Bold", longList.size()},
        {"empty name first", " " + eight, "", 0},
        {"empty name after valid entries", timer + " Mode " + eight, "", 28},
        {"huge string count", "Text " + Hex("FF FF FF FF") + "abc", "Text", 5},
        {"string count one past the end", "Text " + Hex("04 00 00 00") + "abc", "Text", 5},
        {"string count past the end mid-list", timer + "Title " + Hex("F0 FF FF 7F 41"), "Title",
         34},
        {"boolean byte neither 0 nor 1", "Visible " + Hex("02"), "Visible", 8},
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRejected(c.list, c.property, c.offset);
    }
}

TEST(PropertyListMalformed, EveryCutOfAValidList) {
    const std::vector<PropertyEntry> entries = {
        {"Name", std::string("Odai Field")},
        {"Index", int64_t{-2147483648LL}},
        {"Visible", true},
        {"TextColor", fw::RGB(255, 128, 0)},
        {"TextSize", 12.0f},
        {"LineHeight", 0.5},
        {"TextUnit", FontUnit{0}},
        {"HelpTag", std::string()},
    };
    // Where each entry starts, where its value starts, and where it ends.
    struct Span {
        size_t start, valueStart, end;
    };
    std::vector<Span> spans;
    std::string list;
    for (const PropertyEntry& e : entries) {
        const size_t start = list.size();
        list += fw::WritePropertyList({e});
        spans.push_back({start, start + e.name.size() + 1, list.size()});
    }

    for (size_t cut = 1; cut < list.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const std::string prefix = list.substr(0, cut);
        size_t i = 0;
        while (spans[i].end <= cut) {
            ++i;
        }
        const Span& s = spans[i];
        if (cut == s.start) {
            // A cut between entries leaves a valid, shorter list.
            RecordingTarget target;
            fw::RuntimeMassPropertySetter(target, prefix);
            ExpectSameEntries(target.sets,
                              std::vector<PropertyEntry>(entries.begin(), entries.begin() + i));
        } else if (cut < s.valueStart) {
            ExpectRejected(prefix, list.substr(s.start, cut - s.start), s.start);
        } else {
            ExpectRejected(prefix, entries[i].name, s.valueStart);
        }
    }
}

TEST(PropertyListMalformed, ReaderRaisesLikeTheSetter) {
    RecordingTarget target;
    try {
        fw::ReadPropertyList(fw::WritePropertyList(kTimer) + "Period " + Hex("01"), target);
        ADD_FAILURE() << "accepted a repeated, cut-short entry";
    } catch (const PropertyListException& e) {
        EXPECT_EQ(e.Property(), "Period");
        EXPECT_EQ(e.Offset(), 28u);
    }
}

// A list the writer gives must be one the reader takes: names it could not find the end of, and
// a name already written, are refused.
TEST(PropertyListWriter, RejectsNamesNoReaderWouldAccept) {
    const std::string badNames[] = {"",     "Two Words", "Tab\tName", "Line\r", Utf8(u8"名前"),
                                    "Mode", "Period"};
    for (const std::string& name : badNames) {
        SCOPED_TRACE(ShowBytes(name));
        std::vector<PropertyEntry> entries = kTimer;
        entries.push_back({name, int64_t{1}});
        try {
            fw::WritePropertyList(entries);
            ADD_FAILURE() << "wrote a list that no reader would accept";
        } catch (const PropertyListException& e) {
            EXPECT_EQ(e.Property(), name);
            EXPECT_EQ(e.Offset(), 28u);
        }
    }
}

}  // namespace
