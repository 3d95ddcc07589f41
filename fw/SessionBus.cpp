#include "fw/detail/SessionBus.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

#include "fw/detail/Descriptor.h"

namespace fw::detail {
namespace {

using Clock = std::chrono::steady_clock;

struct UnixAddress {
    std::string name;
    bool abstract = false;  // in the abstract namespace, not a file
};

// D-Bus escapes bytes of an address value as %xx.
std::optional<std::string> Unescaped(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        unsigned byte = 0;
        if (i + 2 >= value.size() ||
            std::sscanf(std::string(value.substr(i + 1, 2)).c_str(), "%2x", &byte) != 1) {
            return std::nullopt;
        }
        out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

// The socket of one address entry ("unix:path=/run/user/1000/bus,guid=..."), or nothing for
// another transport or a malformed entry.
std::optional<UnixAddress> UnixSocketOf(std::string_view entry) {
    constexpr std::string_view kUnix = "unix:";
    if (!entry.starts_with(kUnix)) {
        return std::nullopt;
    }
    std::string_view pairs = entry.substr(kUnix.size());
    while (!pairs.empty()) {
        const size_t comma = pairs.find(',');
        const std::string_view pair = pairs.substr(0, comma);
        pairs = comma == std::string_view::npos ? std::string_view() : pairs.substr(comma + 1);
        for (const auto& [key, abstract] : {std::pair{"path=", false}, {"abstract=", true}}) {
            if (pair.starts_with(key)) {
                std::optional<std::string> name =
                    Unescaped(pair.substr(std::string_view(key).size()));
                if (!name || name->empty()) {
                    return std::nullopt;
                }
                return UnixAddress{std::move(*name), abstract};
            }
        }
    }
    return std::nullopt;
}

// Waits until the socket is ready for events, or the deadline passes.
bool WaitFor(const Descriptor& socket, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd wait{socket.Get(), events, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready > 0) {
            return (wait.revents & events) != 0;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

// Connects and greets the bus as every client does first (the NUL byte, then an EXTERNAL
// authentication request); any reply at all, acceptance or refusal, is an answer.
bool Answers(const UnixAddress& address, Clock::time_point deadline) {
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    const size_t offset = address.abstract ? 1 : 0;  // an abstract name starts with a NUL
    // A file name needs its terminating NUL inside the field; an abstract name does not.
    if (address.name.size() + offset + (address.abstract ? 0 : 1) > sizeof(where.sun_path)) {
        return false;
    }
    address.name.copy(where.sun_path + offset, address.name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                               address.name.size() + (address.abstract ? 0 : 1));
    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.Get() < 0) {
        return false;
    }
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&where), length) != 0 &&
        !((errno == EINPROGRESS || errno == EAGAIN) && WaitFor(socket, POLLOUT, deadline))) {
        return false;
    }
    std::string hexUid;
    for (const char digit : std::to_string(::getuid())) {
        char hex[3];
        std::snprintf(hex, sizeof(hex), "%02x", static_cast<unsigned char>(digit));
        hexUid += hex;
    }
    const std::string greeting = std::string(1, '\0') + "AUTH EXTERNAL " + hexUid + "\r\n";
    if (::send(socket.Get(), greeting.data(), greeting.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(greeting.size())) {
        return false;
    }
    if (!WaitFor(socket, POLLIN, deadline)) {
        return false;
    }
    char reply[64];
    return ::recv(socket.Get(), reply, sizeof(reply), 0) > 0;
}

bool IsSocket(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

}  // namespace

bool SessionBusAnswers(std::string_view address, std::string_view runtimeFolder,
                       std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    if (address.empty()) {
        const std::string folderBus = std::string(runtimeFolder) + "/bus";
        return !runtimeFolder.empty() && IsSocket(folderBus) &&
               Answers(UnixAddress{folderBus, false}, deadline);
    }
    while (!address.empty()) {
        const size_t semicolon = address.find(';');
        const std::optional<UnixAddress> socket = UnixSocketOf(address.substr(0, semicolon));
        if (socket && Answers(*socket, deadline)) {
            return true;
        }
        address = semicolon == std::string_view::npos ? std::string_view()
                                                      : address.substr(semicolon + 1);
    }
    return false;
}

bool AccessibilityBridgeWouldWait(std::string_view accessibilityAddress,
                                  std::string_view sessionAddress, std::string_view runtimeFolder,
                                  std::chrono::milliseconds timeout) {
    // The bridge takes an empty address for none and looks on the session bus then.
    return accessibilityAddress.empty() &&
           !SessionBusAnswers(sessionAddress, runtimeFolder, timeout);
}

}  // namespace fw::detail
