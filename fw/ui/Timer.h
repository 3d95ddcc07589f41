#pragma once

#include <cstdint>

#include "fw/ui/Control.h"

class QTimer;

namespace fw {

// A timer of a window (no widget). Event: Action (void(Ref<Timer>)).
//
// Mode 0 is off, 1 fires once (and then reads 0), 2 repeats every Period milliseconds. Setting
// Mode or Period to the value it already has changes nothing: a repeating timer keeps its
// countdown, so a handler that re-sets its timer's Period does not postpone the next tick.
// Setting a new value restarts the countdown from the full period. The timer ticks while its
// window is open and stops for good when the window closes.
class Timer : public Control {
public:
    Timer() = default;
    ~Timer() override;
    static Ref<Timer> Create() { return MakeRef<Timer>(); }

    // The timer class's own construction; nothing to do, the timer is ready.
    virtual void Constructor() {}

    int64_t Mode() const noexcept { return mode_; }
    void SetMode(int64_t mode);
    int64_t Period() const noexcept { return period_; }
    void SetPeriod(int64_t period);

    // Raises Action exactly as the period running out does (for tests); nothing once the window
    // has closed.
    void Fire();
    // Milliseconds until the next tick, or -1 while the timer is off.
    int64_t RemainingTime() const;

    const char* ClassName() const noexcept override { return "Timer"; }

    FW_PROPERTY_TABLE(Timer)

protected:
    const std::type_info* EventSignature(int eventNumber) const override;
    void Unhook() override;

private:
    void Schedule();
    void Elapsed();

    QTimer* timer_ = nullptr;
    int64_t mode_ = 0;
    int64_t period_ = 1000;
};

}  // namespace fw
