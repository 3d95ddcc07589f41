#pragma once

#include <optional>
#include <string>

#include "fw/desktop/BusClient.h"

// Private to the framework: keeping Qt's IBus input method from waiting on an IBus that does not
// answer. Asked for it (QT_IM_MODULE=ibus, as GNOME sessions set), Qt connects to IBus's own bus
// while the QApplication is being made, and waits as long as that bus stays silent.
namespace fw::detail {

// The environment, as far as it leads Qt's IBus input method to a bus: each variable as it is
// set, or nothing where it is unset (Qt tells an empty variable from a missing one here).
struct InputMethodEnvironment {
    std::optional<std::string> module;       // QT_IM_MODULE
    std::optional<std::string> addressFile;  // IBUS_ADDRESS_FILE
    std::optional<std::string> usePortal;    // IBUS_USE_PORTAL
    std::optional<std::string> waylandDisplay;
    std::optional<std::string> display;
    std::optional<std::string> configHome;  // XDG_CONFIG_HOME
    std::optional<std::string> home;
    std::optional<std::string> runtimeFolder;  // XDG_RUNTIME_DIR
    std::string sessionAddress;                // the session bus's address, empty when none
    std::string machineId;                     // this machine's D-Bus machine id

    // This process's environment, with the session bus's address as given and the machine id
    // read from the files D-Bus keeps it in.
    static InputMethodEnvironment OfThisProcess(std::string sessionAddress);
};

// The file in which the IBus daemon for this machine and display writes its bus's address and
// its process id: where IBUS_ADDRESS_FILE says, else in the user's configuration folder under
// ibus/bus/, named after the machine, the display's host and the display's number (or the
// Wayland display's name).
std::string IBusAddressFile(const InputMethodEnvironment& environment);

// Whether the input method must be left out for this run: Qt would load IBus's input method,
// and a bus it would wait on is silent by the deadline. That is IBus's bus as the address file
// names it, while the daemon the file names runs (or, inside a sandbox or where IBUS_USE_PORTAL
// asks for it, the session bus and IBus's portal on it). An address file that Qt could not read
// without waiting (a pipe, say) counts as silent.
bool InputMethodBusIsSilent(const InputMethodEnvironment& environment, BusDeadline deadline);

}  // namespace fw::detail
