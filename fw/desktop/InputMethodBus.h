#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fw/desktop/BusConnections.h"

// Private to the framework: keeping Qt's IBus input method from waiting on an IBus that does not
// answer. Asked for it (QT_IM_MODULE=ibus, as GNOME sessions set), Qt connects to IBus's own bus
// (or, inside a sandbox, to IBus's portal on the session bus) while the QApplication is being
// made, asks IBus for an input context, and waits as long as no answer comes.
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
    std::optional<std::string> machineId;      // this machine's D-Bus machine id, if it has one

    // This process's environment, with the session bus's address as given and the machine id
    // read from the files D-Bus keeps it in.
    static InputMethodEnvironment OfThisProcess(std::string sessionAddress);
};

// The machine id as the D-Bus library reads it: from the first of files that holds one, 32
// lowercase hexadecimal digits with nothing around them but white space. Nothing where none
// does: the library then ends the program that asked.
std::optional<std::string> DBusMachineId(const std::vector<std::string>& files);

// The file in which the IBus daemon for this machine and display writes its bus's address and
// its process id, as Qt names it: where IBUS_ADDRESS_FILE says, else in the user's configuration
// folder under ibus/bus/, named after the machine, the display's host and the display's number
// (or the Wayland display's name). Needs the machine id unless IBUS_ADDRESS_FILE is set.
std::string IBusAddressFile(const InputMethodEnvironment& environment);

// What start-up makes of the input method for this run.
struct InputMethodChoice {
    // Qt would load IBus's input method and could wait: a bus or service it would ask is silent
    // by the deadline, the address file could not be read without waiting (a pipe, say), or
    // start-up cannot be sure what Qt would connect to (no machine id to name the file by, an
    // address it cannot try). The platform's own input handling then takes its place.
    bool leaveOut = false;
    // Where IBus is kept on its own bus: the address file that was read, for Qt to read too
    // (IBUS_ADDRESS_FILE), so that Qt connects to the bus that answered and watches that file
    // for an IBus that starts again.
    std::optional<std::string> addressFile;
};

// Tries what Qt's IBus input method would try first, on the calling thread and by the deadline:
// the bus the address file names, while the daemon it names runs, and there IBus's creation of
// an input context; or, inside a sandbox or where IBUS_USE_PORTAL asks for it, the session bus
// and the same creation through IBus's portal. Connections are made through buses, so that each
// bus is asked once for all of start-up.
InputMethodChoice ChooseInputMethod(const InputMethodEnvironment& environment,
                                    BusConnections& buses, BusDeadline deadline);

}  // namespace fw::detail
