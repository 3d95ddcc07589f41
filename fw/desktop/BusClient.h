#pragma once

#include <chrono>
#include <initializer_list>
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

// Whether a call may have the bus start its destination, as a service the bus knows how to
// start, when nobody owns the destination's name yet.
enum class StartDestination { kNo, kYes };

// One connection to one bus, closed when this goes. Everything runs on the calling thread.
class BusClient {
public:
    BusClient() = default;
    BusClient(const BusClient&) = delete;
    BusClient& operator=(const BusClient&) = delete;
    ~BusClient();

    // Connects to the bus at address, a D-Bus address with its entries separated by ';' (tried
    // in order, as every client does), logs in and says Hello, which proves the bus answers a
    // method call. Addresses this client cannot reach give kFailed. Where every entry tried fails
    // and a client would go on to one this client cannot try (TriableEntries: a name to look up,
    // a transport it lacks), the outcome is kSilent: what a client meets there is not known.
    BusOutcome Connect(const std::string& address, BusDeadline deadline);

    struct Reply {
        BusOutcome outcome = BusOutcome::kFailed;
        std::string text;      // the reply's string, for a method that returns one
        bool boolean = false;  // the reply's boolean, also inside a variant (a property's value)
    };
    // Calls member of interface on the object at path of destination, with those string
    // arguments. An error reply gives kFailed. Connect must have given kAnswered.
    Reply Call(const char* destination, const char* path, const char* interface, const char* member,
               std::initializer_list<const char*> arguments, StartDestination start,
               BusDeadline deadline);

private:
    BusOutcome ConnectToTriable(const std::string& address, BusDeadline deadline);

    sd_bus* bus_ = nullptr;
};

}  // namespace fw::detail
