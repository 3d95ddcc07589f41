#include "fw/detail/BusClient.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cerrno>
#include <functional>

namespace fw::detail {
namespace {

using Clock = std::chrono::steady_clock;

// Runs the connection's work until done says so, the connection fails, or the deadline passes.
// sd-bus does nothing that waits unless asked to, and it is asked to wait only for what is left
// of the deadline.
BusOutcome RunUntil(sd_bus* bus, BusDeadline deadline, const std::function<bool()>& done) {
    for (;;) {
        if (done()) {
            return BusOutcome::kAnswered;
        }
        if (sd_bus_is_open(bus) <= 0) {
            return BusOutcome::kFailed;
        }
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0) {
            return BusOutcome::kFailed;
        }
        if (processed > 0) {
            continue;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return BusOutcome::kSilent;
        }
        const int waited = sd_bus_wait(bus, static_cast<uint64_t>(left.count()));
        if (waited < 0 && waited != -EINTR) {
            return BusOutcome::kFailed;
        }
    }
}

struct PendingReply {
    bool arrived = false;
    BusClient::Reply reply;
};

int TakeReply(sd_bus_message* message, void* userdata, sd_bus_error* /*error*/) {
    auto& pending = *static_cast<PendingReply*>(userdata);
    pending.arrived = true;
    if (sd_bus_message_is_method_error(message, nullptr)) {
        pending.reply.outcome = BusOutcome::kFailed;
        return 0;
    }
    pending.reply.outcome = BusOutcome::kAnswered;
    char type = 0;
    if (sd_bus_message_peek_type(message, &type, nullptr) > 0) {
        if (type == SD_BUS_TYPE_STRING) {
            const char* text = nullptr;
            if (sd_bus_message_read_basic(message, SD_BUS_TYPE_STRING, &text) > 0 &&
                text != nullptr) {
                pending.reply.text = text;
            }
        } else if (type == SD_BUS_TYPE_BOOLEAN) {
            int boolean = 0;
            if (sd_bus_message_read_basic(message, SD_BUS_TYPE_BOOLEAN, &boolean) > 0) {
                pending.reply.boolean = boolean != 0;
            }
        }
    }
    return 0;
}

}  // namespace

BusClient::~BusClient() {
    // Closing sends nothing more, so it cannot wait on a bus that reads nothing.
    sd_bus_close_unref(bus_);
}

BusOutcome BusClient::Connect(const std::string& address, BusDeadline deadline) {
    if (bus_ != nullptr || sd_bus_new(&bus_) < 0 || sd_bus_set_address(bus_, address.c_str()) < 0 ||
        sd_bus_set_bus_client(bus_, 1) < 0) {
        return BusOutcome::kFailed;
    }
    // A bus whose queue of connections is full takes none until it accepts one: a client that
    // connects and waits, as most do, waits as long as the bus does.
    const int started = sd_bus_start(bus_);
    if (started < 0) {
        return started == -EAGAIN ? BusOutcome::kSilent : BusOutcome::kFailed;
    }
    // A bus client is ready once the bus has answered its Hello.
    return RunUntil(bus_, deadline, [this] { return sd_bus_is_ready(bus_) > 0; });
}

BusClient::Reply BusClient::Call(const char* destination, const char* path, const char* interface,
                                 const char* member, const char* argument, BusDeadline deadline) {
    sd_bus_message* call = nullptr;
    if (bus_ == nullptr ||
        sd_bus_message_new_method_call(bus_, &call, destination, path, interface, member) < 0) {
        return {};
    }
    PendingReply pending;
    sd_bus_slot* slot = nullptr;
    // sd-bus's own timeout comes after the deadline, so that a silent bus is told from one that
    // answers with an error.
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()) +
        std::chrono::seconds(1);
    const bool sent =
        (argument == nullptr || sd_bus_message_append_basic(call, 's', argument) >= 0) &&
        sd_bus_message_set_auto_start(call, 0) >= 0 &&
        sd_bus_call_async(bus_, &slot, call, &TakeReply, &pending,
                          static_cast<uint64_t>(std::max<int64_t>(left.count(), 1))) >= 0;
    sd_bus_message_unref(call);
    if (!sent) {
        return {};
    }
    const BusOutcome outcome = RunUntil(bus_, deadline, [&pending] { return pending.arrived; });
    // The slot must not outlive pending, which its callback writes to.
    sd_bus_slot_unref(slot);
    if (outcome != BusOutcome::kAnswered) {
        return {outcome, {}, false};
    }
    return pending.reply;
}

}  // namespace fw::detail
