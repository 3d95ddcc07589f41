// Feeds arbitrary bytes to the mass property setter. A list may be rejected, but only with a
// PropertyListException and only with the target untouched; a list that is accepted must be
// exactly what writing the received values back gives. The same bytes as a declared list, applied
// twice (read, then set from what the reading kept), must do exactly what the mass setter did.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/AllPropertiesTarget.h"
#include "fw/properties/DeclaredPropertyList.h"
#include "fw/properties/PropertyList.h"

namespace {

[[noreturn]] void Fault(const char* what) {
    std::fprintf(stderr, "proplist_fuzz: %s\n", what);
    std::abort();
}

// Targets of one class, so that a declared list keeps its reading for them.
class ClassedTarget : public AllPropertiesTarget {
public:
    const void* PropertyClass() const noexcept override { return &kClass; }

private:
    static constexpr char kClass = 0;
};

// Applies the bytes as a declared list to two fresh targets in turn: each must raise as the mass
// setter did (at the same offset, untouched) or receive what it received.
void CheckDeclared(std::string_view list, const std::optional<size_t>& rejectedAt,
                   const std::vector<fw::PropertyEntry>& received, const std::string& before) {
    const fw::DeclaredPropertyList declared{std::string(list)};
    for (int application = 0; application < 2; ++application) {
        ClassedTarget target;
        try {
            declared.ApplyTo(target);
        } catch (const fw::PropertyListException& e) {
            if (!rejectedAt || e.Offset() != *rejectedAt) {
                Fault("a declared list raised where the mass setter did not");
            }
            if (!target.Received().empty() || target.Snapshot() != before) {
                Fault("a rejected declared list changed the target");
            }
            continue;
        }
        if (rejectedAt) {
            Fault("a declared list was accepted where the mass setter raised");
        }
        if (fw::WritePropertyList(target.Received()) != fw::WritePropertyList(received)) {
            Fault("a declared list set other values than the mass setter");
        }
    }
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
        CheckDeclared(list, e.Offset(), {}, before);
        return 0;
    }
    if (fw::WritePropertyList(target.Received()) != list) {
        Fault("an accepted list does not read back to the same bytes");
    }
    CheckDeclared(list, std::nullopt, target.Received(), before);
    return 0;
}
