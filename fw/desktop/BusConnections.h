#pragma once

#include <map>
#include <memory>
#include <string>

#include "fw/desktop/BusClient.h"

// Private to the framework: the connections start-up makes to the desktop's buses.
namespace fw::detail {

// One connection for each bus address, kept for every check of start-up: a bus is asked once,
// whichever feature leads to it, and one found silent costs its wait once. What a connection
// made for one check leaves behind on its bus goes away with it, when this goes.
class BusConnections {
public:
    struct Connection {
        BusOutcome outcome = BusOutcome::kFailed;
        BusClient* client = nullptr;  // set only where the bus answered
    };

    // The connection to the bus at address, made now within the deadline unless it was made (or
    // found silent or refusing) before.
    Connection Connect(const std::string& address, BusDeadline deadline);

private:
    struct Bus {
        BusOutcome outcome;
        std::unique_ptr<BusClient> client;
    };
    std::map<std::string, Bus> buses_;
};

}  // namespace fw::detail
