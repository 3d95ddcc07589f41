#include "fw/desktop/InputMethodBus.h"

#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string_view>

#include "fw/core/RegularFile.h"

namespace fw::detail {
namespace {

// An address file holds a comment and two short lines, a machine id one: anything longer is
// neither.
constexpr size_t kMaxSmallFileBytes = 64 * 1024;

// Qt takes the name before any ':' (what follows is for the plugin), in any case.
bool IsIBus(std::string_view module) {
    module = module.substr(0, module.find(':'));
    constexpr std::string_view kIBus = "ibus";
    return module.size() == kIBus.size() &&
           std::equal(module.begin(), module.end(), kIBus.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b; });
}

// A short file read without waiting on it: Qt's own read of the address file opens whatever is
// there and would wait on a pipe with nothing behind it, so a file that is not a regular one (or
// too long to be an address file) counts against the bus. Nothing when the file cannot be had,
// as Qt then gives up at once.
struct SmallFile {
    bool qtWouldWait = false;
    std::optional<std::string> text;
};

SmallFile ReadSmallFile(const std::string& path) {
    FileBytes file = ReadRegularFile(path, kMaxSmallFileBytes);
    switch (file.failure) {
        case FileReadFailure::kNone:
            return {false, std::string(file.bytes.begin(), file.bytes.end())};
        case FileReadFailure::kNotRegularFile:
        case FileReadFailure::kOverByteCap:
            return {true, std::nullopt};
        case FileReadFailure::kMissing:
        case FileReadFailure::kUnreadable:
            break;
    }
    return {};
}

// White space as Qt trims a line of the address file, and as the D-Bus library trims the machine
// id: Qt's includes the vertical tab and the form feed.
constexpr std::string_view kQtWhiteSpace = " \t\n\v\f\r";
constexpr std::string_view kDBusWhiteSpace = " \t\n\r";

std::string_view Trimmed(std::string_view text, std::string_view space) {
    const size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// A number as Qt reads one from the file: white space around it, a sign, decimal digits, within
// the range of an int; anything else is 0.
int QtNumber(std::string_view text) {
    text = Trimmed(text, kQtWhiteSpace);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return 0;
    }
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            return 0;
        }
    }
    value = negative ? -value : value;
    return value < INT_MIN || value > INT_MAX ? 0 : static_cast<int>(value);
}

// The bus address the file gives, where the daemon it names still runs, as Qt reads it: the
// last of each line, comment lines skipped; empty where Qt would not connect.
std::string RunningDaemonAddress(const std::string& text) {
    std::string address;
    int pid = -1;
    size_t from = 0;
    while (from < text.size()) {
        const size_t newline = text.find('\n', from);
        const std::string_view line =
            Trimmed(std::string_view(text).substr(from, newline - from), kQtWhiteSpace);
        from = newline == std::string::npos ? text.size() : newline + 1;
        if (line.starts_with('#')) {
            continue;
        }
        constexpr std::string_view kAddress = "IBUS_ADDRESS=";
        constexpr std::string_view kPid = "IBUS_DAEMON_PID=";
        if (line.starts_with(kAddress)) {
            address = line.substr(kAddress.size());
        } else if (line.starts_with(kPid)) {
            // What is not a number is 0 to Qt, which kill() finds alive (this process's group),
            // and Qt goes on to connect.
            pid = QtNumber(line.substr(kPid.size()));
        }
    }
    if (address.empty() || pid < 0 || ::kill(pid, 0) != 0) {
        return {};
    }
    return address;
}

bool UsesPortal(const InputMethodEnvironment& environment) {
    if (environment.usePortal) {
        return true;
    }
    // Inside a Flatpak sandbox, whose runtime folder holds its description.
    const std::string runtime = environment.runtimeFolder.value_or("");
    struct stat info {};
    return !runtime.empty() && ::stat((runtime + "/flatpak-info").c_str(), &info) == 0;
}

bool IsLowercaseHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Has IBus create an input context on bus, as Qt's first call there does: a reply shows that
// IBus itself, not only its bus, answers. The context goes with the connection.
BusOutcome CreateInputContext(BusClient& bus, const char* service, const char* interface,
                              BusDeadline deadline) {
    return bus
        .Call(service, "/org/freedesktop/IBus", interface, "CreateInputContext",
              {"QIBusInputContext"}, StartDestination::kYes, deadline)
        .outcome;
}

// Connects to the bus at address and there has IBus create an input context.
BusOutcome ReachIBus(const std::string& address, const char* service, const char* interface,
                     BusConnections& buses, BusDeadline deadline) {
    const BusConnections::Connection bus = buses.Connect(address, deadline);
    if (bus.client == nullptr) {
        return bus.outcome;
    }
    return CreateInputContext(*bus.client, service, interface, deadline);
}

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

InputMethodEnvironment InputMethodEnvironment::OfThisProcess(std::string sessionAddress) {
    InputMethodEnvironment environment{Variable("QT_IM_MODULE"),
                                       Variable("IBUS_ADDRESS_FILE"),
                                       Variable("IBUS_USE_PORTAL"),
                                       Variable("WAYLAND_DISPLAY"),
                                       Variable("DISPLAY"),
                                       Variable("XDG_CONFIG_HOME"),
                                       Variable("HOME"),
                                       Variable("XDG_RUNTIME_DIR"),
                                       std::move(sessionAddress),
                                       {}};
    // Only Qt's IBus input method reads it, and only then is it worth a read.
    if (environment.module) {
        environment.machineId = DBusMachineId({"/var/lib/dbus/machine-id", "/etc/machine-id"});
    }
    return environment;
}

std::optional<std::string> DBusMachineId(const std::vector<std::string>& files) {
    constexpr size_t kIdDigits = 32;
    for (const std::string& path : files) {
        const std::string text = ReadSmallFile(path).text.value_or("");
        const std::string_view id = Trimmed(text, kDBusWhiteSpace);
        if (id.size() == kIdDigits && IsLowercaseHex(id)) {
            return std::string(id);
        }
    }
    return std::nullopt;
}

std::string IBusAddressFile(const InputMethodEnvironment& environment) {
    if (environment.addressFile) {
        return *environment.addressFile;
    }
    std::string host = "unix";
    std::string number;
    if (environment.waylandDisplay) {
        number = *environment.waylandDisplay;
    } else {
        // "host:number.screen", the host and the screen optional.
        const std::string display = environment.display.value_or("");
        const size_t colon = display.find(':');
        if (colon != std::string::npos && colon > 0) {
            host = display.substr(0, colon);
        }
        const size_t from = colon == std::string::npos ? 0 : colon + 1;
        const size_t dot = display.find('.', from);
        number = display.substr(
            from, dot != std::string::npos && dot > 0 ? dot - from : std::string::npos);
    }
    std::string config = environment.configHome.value_or("");
    if (config.empty()) {
        // Qt's home folder: the variable cleaned as text (so "/a/link/.." is "/a", whatever the
        // link leads to), or the root folder.
        const QByteArray home = QByteArray::fromStdString(environment.home.value_or(""));
        config = home.isEmpty()
                     ? "/"
                     : QFile::encodeName(QDir::cleanPath(QFile::decodeName(home))).toStdString();
        config += "/.config";
    }
    return config + "/ibus/bus/" + environment.machineId.value_or("") + "-" + host + "-" + number;
}

InputMethodChoice ChooseInputMethod(const InputMethodEnvironment& environment,
                                    BusConnections& buses, BusDeadline deadline) {
    InputMethodChoice choice;
    if (!environment.module || !IsIBus(*environment.module)) {
        return choice;
    }
    if (UsesPortal(environment)) {
        // Where there is no session bus, Qt is given one that refuses at once.
        if (!environment.sessionAddress.empty()) {
            choice.leaveOut =
                ReachIBus(environment.sessionAddress, "org.freedesktop.portal.IBus",
                          "org.freedesktop.IBus.Portal", buses, deadline) == BusOutcome::kSilent;
        }
        return choice;
    }
    if (!environment.addressFile && !environment.machineId) {
        choice.leaveOut = true;  // the file has no name, and Qt would end the program looking
        return choice;
    }
    const std::string path = IBusAddressFile(environment);
    const SmallFile file = ReadSmallFile(path);
    if (file.qtWouldWait) {
        choice.leaveOut = true;
        return choice;
    }
    const std::string address = file.text ? RunningDaemonAddress(*file.text) : std::string();
    if (!address.empty()) {
        choice.leaveOut = ReachIBus(address, "org.freedesktop.IBus", "org.freedesktop.IBus", buses,
                                    deadline) == BusOutcome::kSilent;
    }
    if (!choice.leaveOut) {
        choice.addressFile = path;
    }
    return choice;
}

}  // namespace fw::detail
