#include "fw/desktop/BusClient.h"

#include <systemd/sd-bus.h>

#include <cerrno>

#include "fw/desktop/BusAddress.h"

namespace fw::detail {
namespace {

using Clock = std::chrono::steady_clock;

// What is left of the deadline, in microseconds; 0 once it has passed.
uint64_t MicrosecondsLeft(BusDeadline deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<uint64_t>(left) : 0;
}

// Runs the connection's work until the bus has answered the Hello that sd_bus_start sent, the
// connection fails, or the deadline passes. Each wait is for what is left of the deadline.
BusOutcome WaitUntilReady(sd_bus* bus, BusDeadline deadline) {
    for (;;) {
        if (sd_bus_is_ready(bus) > 0) {
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
        const uint64_t left = MicrosecondsLeft(deadline);
        if (left == 0) {
            return BusOutcome::kSilent;
        }
        const int waited = sd_bus_wait(bus, left);
        if (waited < 0 && waited != -EINTR) {
            return BusOutcome::kFailed;
        }
    }
}

// The reply's first value, if it is a string or a boolean, or a variant holding one.
void ReadFirstValue(sd_bus_message* message, BusClient::Reply& reply) {
    char type = 0;
    const char* contents = nullptr;
    if (sd_bus_message_peek_type(message, &type, &contents) <= 0) {
        return;
    }
    if (type == SD_BUS_TYPE_VARIANT) {
        if (sd_bus_message_enter_container(message, SD_BUS_TYPE_VARIANT, contents) > 0) {
            ReadFirstValue(message, reply);
        }
    } else if (type == SD_BUS_TYPE_STRING) {
        const char* text = nullptr;
        if (sd_bus_message_read_basic(message, SD_BUS_TYPE_STRING, &text) > 0 && text != nullptr) {
            reply.text = text;
        }
    } else if (type == SD_BUS_TYPE_BOOLEAN) {
        int boolean = 0;
        if (sd_bus_message_read_basic(message, SD_BUS_TYPE_BOOLEAN, &boolean) > 0) {
            reply.boolean = boolean != 0;
        }
    }
}

}  // namespace

BusClient::~BusClient() {
    // Closing sends nothing more, so it cannot wait on a bus that reads nothing.
    sd_bus_close_unref(bus_);
}

BusOutcome BusClient::Connect(const std::string& address, BusDeadline deadline) {
    const TriableAddress triable = TriableEntries(address);
    const BusOutcome outcome = ConnectToTriable(triable.reachable, deadline);
    // Where every entry tried failed, a client would go on to one whose outcome is not known in
    // time: that counts as silence, which leaves the bus out.
    return outcome == BusOutcome::kFailed && triable.cut ? BusOutcome::kSilent : outcome;
}

BusOutcome BusClient::ConnectToTriable(const std::string& address, BusDeadline deadline) {
    if (address.empty() || bus_ != nullptr || sd_bus_new(&bus_) < 0 ||
        sd_bus_set_address(bus_, address.c_str()) < 0 || sd_bus_set_bus_client(bus_, 1) < 0) {
        return BusOutcome::kFailed;
    }
    // sd_bus_start connects without waiting, the address holding no name to look up, and sends
    // the login and the Hello. A bus whose queue of connections is full takes none until it
    // accepts one: a client that connects and waits, as most do, waits as long as the bus does.
    const int started = sd_bus_start(bus_);
    if (started < 0) {
        return started == -EAGAIN ? BusOutcome::kSilent : BusOutcome::kFailed;
    }
    return WaitUntilReady(bus_, deadline);
}

BusClient::Reply BusClient::Call(const char* destination, const char* path, const char* interface,
                                 const char* member, std::initializer_list<const char*> arguments,
                                 StartDestination start, BusDeadline deadline) {
    sd_bus_message* call = nullptr;
    if (bus_ == nullptr ||
        sd_bus_message_new_method_call(bus_, &call, destination, path, interface, member) < 0) {
        return {};
    }
    Reply reply;
    bool made = sd_bus_message_set_auto_start(call, start == StartDestination::kYes ? 1 : 0) >= 0;
    for (const char* argument : arguments) {
        made = made && sd_bus_message_append_basic(call, SD_BUS_TYPE_STRING, argument) >= 0;
    }
    // A timeout of 0 would be sd-bus's own default, far past the deadline.
    const uint64_t left = MicrosecondsLeft(deadline);
    if (made && left == 0) {
        reply.outcome = BusOutcome::kSilent;
    } else if (made) {
        sd_bus_message* answer = nullptr;
        sd_bus_error error = SD_BUS_ERROR_NULL;
        const int called = sd_bus_call(bus_, call, left, &error, &answer);
        if (called >= 0) {
            reply.outcome = BusOutcome::kAnswered;
            ReadFirstValue(answer, reply);
        } else if (called == -ETIMEDOUT && MicrosecondsLeft(deadline) == 0) {
            // An error reply can map to the same code (a bus says "no reply" for a destination
            // that went away): only the deadline passing is silence.
            reply.outcome = BusOutcome::kSilent;
        }
        sd_bus_message_unref(answer);
        sd_bus_error_free(&error);
    }
    sd_bus_message_unref(call);
    return reply;
}

}  // namespace fw::detail
