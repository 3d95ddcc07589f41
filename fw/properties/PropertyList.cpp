#include "fw/properties/PropertyList.h"

#include "fw/properties/PropertyListDecode.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <unordered_set>

namespace fw {
namespace {

using detail::DecodedEntry;

static_assert(std::is_same_v<std::variant_alternative_t<0, PropertyValue>, int64_t> &&
                  std::is_same_v<std::variant_alternative_t<1, PropertyValue>, bool> &&
                  std::is_same_v<std::variant_alternative_t<2, PropertyValue>, std::string> &&
                  std::is_same_v<std::variant_alternative_t<3, PropertyValue>, Color> &&
                  std::is_same_v<std::variant_alternative_t<4, PropertyValue>, float> &&
                  std::is_same_v<std::variant_alternative_t<5, PropertyValue>, double> &&
                  std::is_same_v<std::variant_alternative_t<6, PropertyValue>, FontUnit>,
              "PropertyValue's alternatives must follow PropertyType's order");
static_assert(sizeof(float) == 4 && sizeof(double) == 8);

constexpr char kNameEnd = ' ';
// A name longer than this cannot be one of ours; exceptions carry only its start.
constexpr size_t kShownNameMax = 64;
// The declared lists hold at most 47 entries: up to this many, a bit per name fingerprint
// and, on a shared bit, a linear scan find a repeated name faster than a hash set could be
// built. Longer (hostile) lists switch to a hash set so that reading stays linear.
constexpr size_t kLinearDuplicateScan = 64;

std::string Printable(std::string_view name) {
    std::string out;
    for (char c : name.substr(0, kShownNameMax)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
            out += c;
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    if (name.size() > kShownNameMax) {
        out += "...";
    }
    return out;
}

[[noreturn]] void Fail(std::string_view problem, std::string_view name, size_t offset,
                       std::string_view detail = {}) {
    std::string message = "property list: ";
    message += problem;
    message += " \"";
    message += Printable(name);
    message += "\" at byte ";
    message += std::to_string(offset);
    if (!detail.empty()) {
        message += ": ";
        message += detail;
    }
    throw PropertyListException(message, std::string(name.substr(0, kShownNameMax)), offset);
}

// Byte-wise so that neither the host's byte order nor alignment matters.
uint64_t LoadLittleEndian(const char* bytes, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

void StoreLittleEndian(std::string& out, uint64_t value, int count) {
    for (int i = 0; i < count; ++i) {
        out += static_cast<char>(value & 0xFF);
        value >>= 8;
    }
}

// Out of line, so that reading a value that fits stays a few instructions.
[[noreturn]] void FailCutShort(std::string_view name, size_t start, PropertyType type, size_t count,
                               size_t offset, size_t remaining) {
    Fail("value cut short for property", name, start,
         std::string(PropertyTypeName(type)) + " needs " + std::to_string(count) +
             " more bytes at byte " + std::to_string(offset) + ", " + std::to_string(remaining) +
             " remain");
}

// Reads one value of the given type at offset; on return offset is just past it.
PropertyValue ReadValue(std::string_view list, size_t& offset, PropertyType type,
                        std::string_view name) {
    const size_t start = offset;
    auto take = [&](size_t count) {
        const size_t remaining = list.size() - offset;  // offset never passes the end
        if (remaining < count) {
            FailCutShort(name, start, type, count, offset, remaining);
        }
        const char* bytes = list.data() + offset;
        offset += count;
        return bytes;
    };
    switch (type) {
        case PropertyType::Integer:
            return static_cast<int64_t>(LoadLittleEndian(take(8), 8));
        case PropertyType::Boolean: {
            const auto byte = static_cast<unsigned char>(*take(1));
            if (byte > 1) {
                Fail("Boolean neither 0 nor 1 for property", name, start,
                     "the byte is " + std::to_string(byte));
            }
            return byte == 1;
        }
        case PropertyType::String: {
            const auto count = static_cast<size_t>(LoadLittleEndian(take(4), 4));
            return std::string(take(count), count);
        }
        case PropertyType::Color:
            return Color{static_cast<uint32_t>(LoadLittleEndian(take(4), 4))};
        case PropertyType::Single:
            return std::bit_cast<float>(static_cast<uint32_t>(LoadLittleEndian(take(4), 4)));
        case PropertyType::Double:
            return std::bit_cast<double>(LoadLittleEndian(take(8), 8));
        case PropertyType::FontUnit:
            return FontUnit{static_cast<uint8_t>(*take(1))};
    }
    Fail("unknown type declared for property", name, start);
}

// Tells whether a name was already read from this list.
class NameSet {
public:
    explicit NameSet(const std::vector<DecodedEntry>& entries) : entries_(entries) {}

    // Asked once per entry, before the entry is added (a list that goes on to fail is
    // dropped with its set).
    bool Contains(std::string_view name) {
        if (entries_.size() <= kLinearDuplicateScan) {
            // A name whose fingerprint bit is still clear has not been read: only a name that
            // shares its bit with an earlier one is compared with the names read so far.
            const uint8_t print = Fingerprint(name);
            uint64_t& word = fingerprints_[print >> 6];
            const uint64_t bit = uint64_t{1} << (print & 63);
            const bool shared = (word & bit) != 0;
            word |= bit;
            return shared && std::any_of(entries_.begin(), entries_.end(),
                                         [&](const DecodedEntry& e) { return e.name == name; });
        }
        if (hashed_.empty()) {
            hashed_.reserve(entries_.size() * 2);
        }
        for (; hashedCount_ < entries_.size(); ++hashedCount_) {
            hashed_.insert(entries_[hashedCount_].name);
        }
        return hashed_.contains(name);
    }

private:
    // 8 bits from a name's length and its first and last bytes, which tell the declared names
    // apart well enough that a scan is rare.
    static uint8_t Fingerprint(std::string_view name) {
        const auto front = static_cast<unsigned char>(name.front());
        const auto back = static_cast<unsigned char>(name.back());
        const auto mixed = static_cast<uint32_t>(name.size() * 131 + front * 31 + back);
        return static_cast<uint8_t>((mixed * 0x9E3779B1U) >> 24);
    }

    const std::vector<DecodedEntry>& entries_;
    uint64_t fingerprints_[4] = {};
    std::unordered_set<std::string_view> hashed_;
    size_t hashedCount_ = 0;
};

bool IsNameByte(char c) {
    return c > 0x20 && c < 0x7F;
}

}  // namespace

std::vector<DecodedEntry> detail::DecodePropertyList(std::string_view list,
                                                     const PropertyTarget& target) {
    std::vector<DecodedEntry> entries;
    entries.reserve(std::min<size_t>(list.size() / 3 + 1, 48));
    NameSet seen(entries);
    size_t offset = 0;
    while (offset < list.size()) {
        const size_t entryStart = offset;
        // The only search for a space: the name begins right where the previous value ended.
        const auto* space = static_cast<const char*>(
            std::memchr(list.data() + offset, kNameEnd, list.size() - offset));
        if (space == nullptr) {
            Fail("no space ends property name", list.substr(entryStart), entryStart,
                 "the list ends first");
        }
        const std::string_view name =
            list.substr(entryStart, static_cast<size_t>(space - (list.data() + entryStart)));
        if (name.empty()) {
            Fail("empty property name", name, entryStart);
        }
        const std::optional<PropertyTarget::FoundProperty> found = target.FindProperty(name);
        if (!found) {
            Fail("unknown property", name, entryStart);
        }
        if (seen.Contains(name)) {
            Fail("property named twice", name, entryStart);
        }
        offset = entryStart + name.size() + 1;
        entries.push_back(
            DecodedEntry{name, ReadValue(list, offset, found->type, name), found->key});
    }
    return entries;
}

const char* PropertyTypeName(PropertyType type) noexcept {
    switch (type) {
        case PropertyType::Integer:
            return "Integer";
        case PropertyType::Boolean:
            return "Boolean";
        case PropertyType::String:
            return "String";
        case PropertyType::Color:
            return "Color";
        case PropertyType::Single:
            return "Single";
        case PropertyType::Double:
            return "Double";
        case PropertyType::FontUnit:
            return "FontUnit";
    }
    return "?";
}

PropertyType TypeOf(const PropertyValue& value) noexcept {
    return static_cast<PropertyType>(value.index());
}

PropertyListException::PropertyListException(const std::string& message, std::string property,
                                             size_t offset)
    : RuntimeException(message), property_(std::move(property)), offset_(offset) {}

std::string WritePropertyList(const std::vector<PropertyEntry>& entries) {
    size_t size = 0;
    for (const PropertyEntry& entry : entries) {
        size += entry.name.size() + 1 + 8;
        if (const auto* text = std::get_if<std::string>(&entry.value)) {
            size += text->size();
        }
    }
    std::string out;
    out.reserve(size);
    // The reader refuses a list that names a property twice, so the writer does not make one.
    std::unordered_set<std::string_view> written;
    written.reserve(entries.size());
    for (const PropertyEntry& entry : entries) {
        if (entry.name.empty() || !std::all_of(entry.name.begin(), entry.name.end(), IsNameByte)) {
            Fail("property name unfit for a list", entry.name, out.size(),
                 "a name is one or more printable ASCII bytes with no space");
        }
        if (!written.insert(entry.name).second) {
            Fail("property named twice", entry.name, out.size());
        }
        const size_t entryStart = out.size();
        out += entry.name;
        out += kNameEnd;
        std::visit(
            [&](const auto& value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, int64_t>) {
                    StoreLittleEndian(out, static_cast<uint64_t>(value), 8);
                } else if constexpr (std::is_same_v<T, bool>) {
                    out += value ? '\1' : '\0';
                } else if constexpr (std::is_same_v<T, std::string>) {
                    if (value.size() > UINT32_MAX) {
                        Fail("String too long for property", entry.name, entryStart);
                    }
                    StoreLittleEndian(out, value.size(), 4);
                    out += value;
                } else if constexpr (std::is_same_v<T, Color>) {
                    StoreLittleEndian(out, value.value, 4);
                } else if constexpr (std::is_same_v<T, float>) {
                    StoreLittleEndian(out, std::bit_cast<uint32_t>(value), 4);
                } else if constexpr (std::is_same_v<T, double>) {
                    StoreLittleEndian(out, std::bit_cast<uint64_t>(value), 8);
                } else {
                    static_assert(std::is_same_v<T, FontUnit>);
                    out += static_cast<char>(value.value);
                }
            },
            entry.value);
    }
    return out;
}

std::vector<PropertyEntry> ReadPropertyList(std::string_view list, const PropertyTarget& target) {
    std::vector<DecodedEntry> decoded = detail::DecodePropertyList(list, target);
    std::vector<PropertyEntry> entries;
    entries.reserve(decoded.size());
    for (DecodedEntry& entry : decoded) {
        entries.push_back(PropertyEntry{std::string(entry.name), std::move(entry.value)});
    }
    return entries;
}

void RuntimeMassPropertySetter(PropertyTarget& target, std::string_view list) {
    // Everything is decoded before the first value is set, so a fault anywhere in the list
    // leaves the target as it was.
    std::vector<DecodedEntry> entries = detail::DecodePropertyList(list, target);
    for (DecodedEntry& entry : entries) {
        target.SetFoundProperty(entry.key, entry.name, std::move(entry.value));
    }
}

}  // namespace fw
