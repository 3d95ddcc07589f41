#include "fw/core/Date.h"

#include <chrono>

#include "fw/core/FaultPoint.h"

namespace fw {
namespace {

double SystemSeconds() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count();
}

std::function<double()>& Clock() {
    static std::function<double()> clock = &SystemSeconds;
    return clock;
}

}  // namespace

Date::Date() {
    FaultPoint("Date.Constructor");
    totalSeconds_ = Clock()();
}

namespace testing {

void SetClock(std::function<double()> clock) {
    Clock() = clock ? std::move(clock) : std::function<double()>(&SystemSeconds);
}

void ResetClock() {
    Clock() = &SystemSeconds;
}

}  // namespace testing
}  // namespace fw
