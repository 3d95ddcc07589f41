#pragma once

#include <chrono>
#include <string>

struct sd_bus;

// Private to the framework: a D-Bus client that never waits past a deadline, for looking at the
// desktop's buses before Qt would wait on them without one.
namespace fw::detail {

using BusDeadline = std::chrono::steady_clock::time_point;

// How a bus took a request. A bus that refuses (no such socket, a rejected login, an error
// reply) has answered: whoever asks it next is told at once too. Only a silent bus makes its
// callers wait.
enum class BusOutcome {
    kAnswered,  // a reply came
    kFailed,    // the request failed at once or was refused
    kSilent,    // nothing came before the deadline
};

// One connection to one bus, closed when this goes.
class BusClient {
public:
    BusClient() = default;
    BusClient(const BusClient&) = delete;
    BusClient& operator=(const BusClient&) = delete;
    ~BusClient();

    // Connects to the bus at address, a D-Bus address with its entries separated by ';' (tried
    // in order, as every client does), logs in and says Hello, which proves the bus answers a
    // method call. Addresses this client cannot reach give kFailed.
    BusOutcome Connect(const std::string& address, BusDeadline deadline);

    struct Reply {
        BusOutcome outcome = BusOutcome::kFailed;
        std::string text;      // the reply's string, for a method that returns one
        bool boolean = false;  // the reply's boolean, for a method that returns one
    };
    // Calls member of interface on the object at path of destination, with argument as its one
    // string argument (none when null), without asking the bus to start the destination. An error
    // reply gives kFailed. Connect must have given kAnswered.
    Reply Call(const char* destination, const char* path, const char* interface, const char* member,
               const char* argument, BusDeadline deadline);

private:
    sd_bus* bus_ = nullptr;
};

}  // namespace fw::detail
