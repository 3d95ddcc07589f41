#include "fw/core/FaultPoint.h"

#include <map>

#include "fw/core/Exceptions.h"

namespace fw {
namespace {

// Operation name -> calls still to let through before raising.
std::map<std::string, int, std::less<>>& ArmedFaults() {
    static std::map<std::string, int, std::less<>> armed;
    return armed;
}

}  // namespace

void FaultPoint(std::string_view operation) {
    if (FaultInjected(operation)) {
        throw RuntimeException("injected fault in " + std::string(operation));
    }
}

bool FaultInjected(std::string_view operation) noexcept {
    auto& armed = ArmedFaults();
    if (armed.empty()) {
        return false;
    }
    auto it = armed.find(operation);
    if (it == armed.end()) {
        return false;
    }
    if (it->second > 0) {
        --it->second;
        return false;
    }
    armed.erase(it);
    return true;
}

namespace testing {

void ArmFault(std::string operation, int skip) {
    ArmedFaults()[std::move(operation)] = skip;
}

bool FaultPending(std::string_view operation) {
    return ArmedFaults().contains(operation);
}

void DisarmFaults() {
    ArmedFaults().clear();
}

}  // namespace testing
}  // namespace fw
