#pragma once

#include <chrono>
#include <string_view>

// Private to the framework: whether the desktop's session bus is there to talk to.
namespace fw::detail {

// Whether the session bus that a D-Bus client would reach from this environment answers a first
// greeting within timeout. address is the bus address the environment names
// (DBUS_SESSION_BUS_ADDRESS, several separated by ';'); when it is empty the bus is the socket
// "bus" in runtimeFolder (XDG_RUNTIME_DIR), as a client looks for it, and with no such socket
// there is no bus: a client would have to start one. Only Unix-socket addresses (path= or
// abstract=) are tried; a bus reachable by other means counts as not answering. Never takes
// much longer than timeout, however many addresses it tries.
bool SessionBusAnswers(std::string_view address, std::string_view runtimeFolder,
                       std::chrono::milliseconds timeout);

// Whether Qt's accessibility bridge would wait at the first widget for a session bus that is
// missing (and so start one) or silent: it looks on the session bus for the accessibility bus
// unless accessibilityAddress (AT_SPI_BUS_ADDRESS) names that bus, and an empty one names none.
bool AccessibilityBridgeWouldWait(std::string_view accessibilityAddress,
                                  std::string_view sessionAddress, std::string_view runtimeFolder,
                                  std::chrono::milliseconds timeout);

}  // namespace fw::detail
