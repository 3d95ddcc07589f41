#include "fw/desktop/InputMethodBus.h"

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
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

std::string_view Trimmed(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The bus address the file gives, where the daemon it names still runs, as Qt reads it: the
// last of each line, comment lines skipped; empty where Qt would not connect.
std::string RunningDaemonAddress(const std::string& text) {
    std::string address;
    std::optional<pid_t> pid;
    size_t from = 0;
    while (from < text.size()) {
        const size_t newline = text.find('\n', from);
        const std::string_view line = Trimmed(std::string_view(text).substr(from, newline - from));
        from = newline == std::string::npos ? text.size() : newline + 1;
        if (line.starts_with('#')) {
            continue;
        }
        constexpr std::string_view kAddress = "IBUS_ADDRESS=";
        constexpr std::string_view kPid = "IBUS_DAEMON_PID=";
        if (line.starts_with(kAddress)) {
            address = line.substr(kAddress.size());
        } else if (line.starts_with(kPid)) {
            pid_t value = 0;
            const std::string_view digits = line.substr(kPid.size());
            const char* end = digits.data() + digits.size();
            const auto parsed = std::from_chars(digits.data(), end, value);
            // Qt takes what is not a whole number as 0, which kill() finds alive (this process's
            // group), and goes on to connect.
            pid = parsed.ec == std::errc() && parsed.ptr == end ? value : 0;
        }
    }
    if (address.empty() || !pid || *pid < 0 || ::kill(*pid, 0) != 0) {
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

bool Silent(BusOutcome outcome) {
    return outcome == BusOutcome::kSilent;
}

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// The machine id as D-Bus libraries read it: the first of its files that holds one.
std::string DBusMachineId() {
    for (const char* path : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
        const std::string text = ReadSmallFile(path).text.value_or("");
        const std::string_view id = Trimmed(text);
        if (!id.empty()) {
            return std::string(id);
        }
    }
    return {};
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
        environment.machineId = DBusMachineId();
    }
    return environment;
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
        const std::string home = environment.home.value_or("");
        config = (home.empty() ? "/" : home) + "/.config";
    }
    return config + "/ibus/bus/" + environment.machineId + "-" + host + "-" + number;
}

bool InputMethodBusIsSilent(const InputMethodEnvironment& environment, BusDeadline deadline) {
    if (!environment.module || !IsIBus(*environment.module)) {
        return false;
    }
    if (UsesPortal(environment)) {
        BusClient sessionBus;
        const BusOutcome connected = sessionBus.Connect(environment.sessionAddress, deadline);
        if (connected != BusOutcome::kAnswered) {
            return Silent(connected);
        }
        return Silent(sessionBus
                          .Call("org.freedesktop.portal.IBus", "/org/freedesktop/IBus",
                                "org.freedesktop.DBus.Peer", "Ping", {}, StartDestination::kNo,
                                deadline)
                          .outcome);
    }
    const SmallFile file = ReadSmallFile(IBusAddressFile(environment));
    if (!file.text) {
        return file.qtWouldWait;
    }
    const std::string address = RunningDaemonAddress(*file.text);
    if (address.empty()) {
        return false;
    }
    BusClient ibus;
    return Silent(ibus.Connect(address, deadline));
}

}  // namespace fw::detail
