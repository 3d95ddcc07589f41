#include "fw/detail/AccessibilityBus.h"

#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <thread>

#include "fw/detail/BusClient.h"

namespace fw::detail {
namespace {

// How much longer than its budget the looking may run before it counts as silence: enough for
// a thread to start and a few connections to close.
constexpr std::chrono::milliseconds kOverrunAllowance{100};

bool Silent(BusOutcome outcome) {
    return outcome == BusOutcome::kSilent;
}

std::optional<std::string> Decide(const AccessibilityBusPlaces& places, BusDeadline deadline) {
    const std::optional<std::string> off = kNoAccessibilityBus;
    if (!places.accessibilityAddress.empty()) {
        BusClient accessibilityBus;
        return Silent(accessibilityBus.Connect(places.accessibilityAddress, deadline))
                   ? off
                   : std::nullopt;
    }
    const std::string session = SessionBusAddress(places.sessionAddress, places.runtimeFolder);
    if (session.empty()) {
        return off;
    }
    BusClient sessionBus;
    const BusOutcome connected = sessionBus.Connect(session, deadline);
    if (Silent(connected)) {
        return off;
    }
    std::string registered;
    if (connected == BusOutcome::kAnswered) {
        const BusClient::Reply owned =
            sessionBus.Call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                            "NameHasOwner", "org.a11y.Bus", deadline);
        if (Silent(owned.outcome)) {
            return off;
        }
        if (owned.boolean) {
            const BusClient::Reply address = sessionBus.Call(
                "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", nullptr, deadline);
            if (Silent(address.outcome)) {
                return off;
            }
            registered = address.text;
        }
    }
    for (const std::string* address :
         std::initializer_list<const std::string*>{&registered, &places.rootWindowAddress}) {
        if (address->empty()) {
            continue;
        }
        BusClient accessibilityBus;
        if (Silent(accessibilityBus.Connect(*address, deadline))) {
            return off;
        }
    }
    return std::nullopt;
}

// D-Bus escapes every byte of an address value outside a few safe ones as %xx.
std::string Escaped(const std::string& value) {
    std::string out;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
            (byte >= 'A' && byte <= 'Z') || c == '-' || c == '_' || c == '/' || c == '.' ||
            c == '\\' || c == '*') {
            out += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof(hex), "%%%02x", byte);
            out += hex;
        }
    }
    return out;
}

}  // namespace

std::string SessionBusAddress(const std::string& address, const std::string& runtimeFolder) {
    if (!address.empty()) {
        return address;
    }
    if (runtimeFolder.empty()) {
        return {};
    }
    // As D-Bus clients do: the folder's "bus", if it is a socket of this user's.
    const std::string path = runtimeFolder + "/bus";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode) || info.st_uid != ::getuid()) {
        return {};
    }
    return "unix:path=" + Escaped(path);
}

std::optional<std::string> AccessibilityBusOverride(const AccessibilityBusPlaces& places,
                                                    std::chrono::milliseconds budget) {
    struct Verdict {
        std::mutex mutex;
        std::condition_variable given;
        bool done = false;
        std::optional<std::string> value;
    };
    const auto start = std::chrono::steady_clock::now();
    const BusDeadline deadline = start + budget;
    auto verdict = std::make_shared<Verdict>();
    try {
        std::thread([verdict, places, deadline] {
            std::optional<std::string> value;
            try {
                value = Decide(places, deadline);
            } catch (...) {
                value = kNoAccessibilityBus;  // out of memory: better no screen readers than a wait
            }
            const std::lock_guard<std::mutex> lock(verdict->mutex);
            verdict->value = std::move(value);
            verdict->done = true;
            verdict->given.notify_one();
        }).detach();
    } catch (...) {
        return kNoAccessibilityBus;  // no thread to be had
    }
    std::unique_lock<std::mutex> lock(verdict->mutex);
    if (!verdict->given.wait_until(lock, deadline + kOverrunAllowance,
                                   [&verdict] { return verdict->done; })) {
        return kNoAccessibilityBus;
    }
    return verdict->value;
}

}  // namespace fw::detail
