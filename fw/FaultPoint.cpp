#include "fw/FaultPoint.h"

#include <map>

#include "fw/Exceptions.h"

namespace fw {
namespace {

// Operation name -> calls still to let through before raising.
std::map<std::string, int, std::less<>>& ArmedFaults() {
    static std::map<std::string, int, std::less<>> armed;
    return armed;
}

}  // namespace

void FaultPoint(std::string_view operation) {
    auto& armed = ArmedFaults();
    if (armed.empty()) {
        return;
    }
    auto it = armed.find(operation);
    if (it == armed.end()) {
        return;
    }
    if (it->second > 0) {
        --it->second;
        return;
    }
    armed.erase(it);
    throw RuntimeException("injected fault in " + std::string(operation));
}

namespace testing {

void ArmFault(std::string operation, int skip) {
    ArmedFaults()[std::move(operation)] = skip;
}

void DisarmFaults() {
    ArmedFaults().clear();
}

}  // namespace testing
}  // namespace fw
