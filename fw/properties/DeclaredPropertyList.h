#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "fw/properties/PropertyList.h"

namespace fw {

// A property list fixed for the whole run, as a window's or a control's declaration gives it.
// Its bytes never change, so they are read once for the class they are applied to: applying the
// list again sets the values kept from that reading, with no name looked up and no byte decoded.
//
// Applying behaves exactly as RuntimeMassPropertySetter on Bytes(): a malformed list raises
// PropertyListException before anything on the target changes (and is read afresh, and raises
// again, at every later application); an exception from the target's own setter passes through
// with the earlier entries set. A target of another class, or of no class (PropertyClass() null),
// has the list read for it each time.
//
// The kept values point into the list's own bytes, so a declared list is neither copied nor
// moved; it is meant to live in static storage for the run. Applying is safe from any thread
// that may touch the target.
class DeclaredPropertyList {
public:
    explicit DeclaredPropertyList(std::string bytes);
    ~DeclaredPropertyList();
    DeclaredPropertyList(const DeclaredPropertyList&) = delete;
    DeclaredPropertyList& operator=(const DeclaredPropertyList&) = delete;

    const std::string& Bytes() const noexcept { return bytes_; }

    void ApplyTo(PropertyTarget& target) const;

private:
    struct Reading;
    // The reading for the target's class, made on first use; null when the list is kept for
    // another class or the target has none.
    const Reading* ReadingFor(const PropertyTarget& target) const;

    const std::string bytes_;
    mutable std::mutex reading_;  // held only while the first reading is made
    mutable std::atomic<const Reading*> kept_{nullptr};
};

}  // namespace fw
