#pragma once

#include <string>
#include <string_view>

namespace fw {

// Framework operations that the start-up and the game rely on pass a fault point named after
// themselves ("RuntimeInit", "RuntimeNewObject", "Window.Close", ...). Tests arm a point to make
// that operation raise (or, where it fails by what it gives back, fail), which is how each
// failure path is proved without changing the game. Unarmed, a fault point only finds that
// nothing is armed.
void FaultPoint(std::string_view operation);
// For an operation that fails by what it gives back rather than by raising (an allocation that
// gives null): true where FaultPoint would raise, and the caller then fails as it would for real.
bool FaultInjected(std::string_view operation) noexcept;

namespace testing {

// Makes the named operation raise a RuntimeException (or fail, FaultInjected) at its
// (skip + 1)-th call from now, once.
void ArmFault(std::string operation, int skip = 0);
// Whether the fault armed at the named operation is still to come: false once it has struck, or
// when none was armed.
bool FaultPending(std::string_view operation);
// Forgets every armed fault.
void DisarmFaults();

}  // namespace testing
}  // namespace fw
