// Feeds arbitrary bytes to the mass property setter. A list may be rejected, but only with a
// PropertyListException and only with the target untouched; a list that is accepted must be
// exactly what writing the received values back gives.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz/AllPropertiesTarget.h"
#include "fw/PropertyList.h"

namespace {

[[noreturn]] void Fault(const char* what) {
    std::fprintf(stderr, "proplist_fuzz: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view list(reinterpret_cast<const char*>(data), size);
    AllPropertiesTarget target;
    static const std::string before = AllPropertiesTarget().Snapshot();
    try {
        fw::RuntimeMassPropertySetter(target, list);
    } catch (const fw::PropertyListException& e) {
        if (!target.Received().empty() || target.Snapshot() != before) {
            Fault("a rejected list changed the target");
        }
        if (e.Offset() > size) {
            Fault("the reported offset lies past the end of the list");
        }
        return 0;
    }
    if (fw::WritePropertyList(target.Received()) != list) {
        Fault("an accepted list does not read back to the same bytes");
    }
    return 0;
}
