#pragma once

#include <functional>

#include "fw/core/Object.h"

namespace fw {

// A moment in time, read from the framework's clock when the Date is made. Differences of
// TotalSeconds are elapsed time, which is all the game measures with it.
class Date : public Object {
public:
    // Holds the current moment. Passes the fault point "Date.Constructor".
    Date();
    static Ref<Date> Create() { return MakeRef<Date>(); }

    // Seconds since 1970-01-01 00:00 UTC, with the fraction of a second.
    double TotalSeconds() const noexcept { return totalSeconds_; }

    const char* ClassName() const noexcept override { return "Date"; }

private:
    double totalSeconds_;
};

namespace testing {

// Replaces the clock every new Date reads (seconds since the Unix epoch), so timing rules can
// be tested to the millisecond without sleeping. ResetClock restores the system clock.
void SetClock(std::function<double()> clock);
void ResetClock();

}  // namespace testing
}  // namespace fw
