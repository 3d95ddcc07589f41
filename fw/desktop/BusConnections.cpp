#include "fw/desktop/BusConnections.h"

namespace fw::detail {

BusConnections::Connection BusConnections::Connect(const std::string& address,
                                                   BusDeadline deadline) {
    auto known = buses_.find(address);
    if (known == buses_.end()) {
        auto client = std::make_unique<BusClient>();
        const BusOutcome outcome = client->Connect(address, deadline);
        known = buses_.emplace(address, Bus{outcome, std::move(client)}).first;
    }
    const Bus& bus = known->second;
    return {bus.outcome, bus.outcome == BusOutcome::kAnswered ? bus.client.get() : nullptr};
}

}  // namespace fw::detail
