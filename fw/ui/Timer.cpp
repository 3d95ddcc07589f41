#include "fw/ui/Timer.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

#include "fw/core/Thread.h"
#include "fw/ui/QtConvert.h"

namespace fw {

Timer::~Timer() {
    if (timer_ != nullptr && QCoreApplication::instance() != nullptr) {
        timer_->disconnect();
        timer_->stop();
        timer_->deleteLater();
    }
}

const PropertyTable<Timer>& Timer::Properties() {
    static const auto table = PropertyTable<Timer>::Inherit(Control::Properties())
                                  .Add("Mode", &Timer::Mode, &Timer::SetMode)
                                  .Add("Period", &Timer::Period, &Timer::SetPeriod);
    return table;
}

const std::type_info* Timer::EventSignature(int eventNumber) const {
    return eventNumber == kTimerActionEvent ? &typeid(void(Ref<Timer>)) : nullptr;
}

void Timer::SetMode(int64_t mode) {
    CheckUIThread();
    if (mode == mode_) {
        return;
    }
    mode_ = mode;
    Schedule();
}

void Timer::SetPeriod(int64_t period) {
    CheckUIThread();
    if (period == period_) {
        return;
    }
    period_ = period;
    Schedule();
}

void Timer::Schedule() {
    if (IsUnhooked()) {
        return;
    }
    if (mode_ != 1 && mode_ != 2) {
        if (timer_ != nullptr) {
            timer_->stop();
        }
        return;
    }
    if (timer_ == nullptr) {
        timer_ = new QTimer();
        timer_->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer_, &QTimer::timeout, timer_, [this] { Elapsed(); });
    }
    timer_->setSingleShot(mode_ == 1);
    timer_->start(detail::ToInt(std::max<int64_t>(0, period_)));
}

void Timer::Fire() {
    CheckUIThread();
    Elapsed();
}

void Timer::Elapsed() {
    if (IsUnhooked()) {
        return;  // its window has closed: no more ticks
    }
    if (mode_ == 1) {
        // A single-shot timer is spent once it has fired.
        mode_ = 0;
        if (timer_ != nullptr) {
            timer_->stop();
        }
    }
    Deliver([this] { RaiseEvent<void, Ref<Timer>>(kTimerActionEvent, Ref<Timer>(this)); });
}

void Timer::Unhook() {
    if (timer_ != nullptr) {
        if (QCoreApplication::instance() != nullptr) {
            timer_->disconnect();
            timer_->stop();
            // Later: this may run inside the timer's own timeout (a tick that closes the window).
            timer_->deleteLater();
        }
        timer_ = nullptr;
    }
    Control::Unhook();
}

int64_t Timer::RemainingTime() const {
    return timer_ != nullptr && timer_->isActive() ? timer_->remainingTime() : -1;
}

}  // namespace fw
