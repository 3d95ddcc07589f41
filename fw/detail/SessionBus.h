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
// abstract=) are tried; a bus reachable by other means counts as not answering. Never blocks
// longer than timeout for each address tried.
bool SessionBusAnswers(std::string_view address, std::string_view runtimeFolder,
                       std::chrono::milliseconds timeout);

}  // namespace fw::detail
