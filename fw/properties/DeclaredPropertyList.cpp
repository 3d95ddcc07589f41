#include "fw/properties/DeclaredPropertyList.h"

#include <memory>
#include <vector>

#include "fw/properties/PropertyListDecode.h"

namespace fw {

struct DeclaredPropertyList::Reading {
    const void* propertyClass;
    std::vector<detail::DecodedEntry> entries;
};

DeclaredPropertyList::DeclaredPropertyList(std::string bytes) : bytes_(std::move(bytes)) {}

DeclaredPropertyList::~DeclaredPropertyList() {
    delete kept_.load(std::memory_order_acquire);
}

const DeclaredPropertyList::Reading* DeclaredPropertyList::ReadingFor(
    const PropertyTarget& target) const {
    const void* propertyClass = target.PropertyClass();
    if (propertyClass == nullptr) {
        return nullptr;
    }
    const Reading* kept = kept_.load(std::memory_order_acquire);
    if (kept == nullptr) {
        const std::lock_guard lock(reading_);
        kept = kept_.load(std::memory_order_relaxed);
        if (kept == nullptr) {
            // Raises on a malformed list, and then nothing is kept.
            auto reading = std::make_unique<Reading>(
                Reading{propertyClass, detail::DecodePropertyList(bytes_, target)});
            kept = reading.release();
            kept_.store(kept, std::memory_order_release);
        }
    }
    return kept->propertyClass == propertyClass ? kept : nullptr;
}

void DeclaredPropertyList::ApplyTo(PropertyTarget& target) const {
    const Reading* reading = ReadingFor(target);
    if (reading == nullptr) {
        RuntimeMassPropertySetter(target, bytes_);
        return;
    }
    for (const detail::DecodedEntry& entry : reading->entries) {
        // A copy: the kept value serves every later application too.
        target.SetFoundProperty(entry.key, entry.name, PropertyValue(entry.value));
    }
}

}  // namespace fw
