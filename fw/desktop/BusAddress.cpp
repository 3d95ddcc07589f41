#include "fw/desktop/BusAddress.h"

#include <arpa/inet.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace fw::detail {
namespace {

bool IsSafeAddressByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
           (byte >= 'A' && byte <= 'Z') || c == '-' || c == '_' || c == '/' || c == '.' ||
           c == '\\' || c == '*';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The value with its %xx escapes undone; nothing when an escape is broken (a client refuses such
// an address at once).
std::optional<std::string> Unescaped(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        if (i + 2 >= value.size()) {
            return std::nullopt;
        }
        const int high = HexDigit(value[i + 1]);
        const int low = HexDigit(value[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

// The value of key in an entry's "key=value,key=value" list, still escaped; nothing when absent.
std::optional<std::string_view> Value(std::string_view pairs, std::string_view key) {
    while (!pairs.empty()) {
        const size_t comma = pairs.find(',');
        const std::string_view pair = pairs.substr(0, comma);
        const size_t equals = pair.find('=');
        if (equals != std::string_view::npos && pair.substr(0, equals) == key) {
            return pair.substr(equals + 1);
        }
        pairs = comma == std::string_view::npos ? std::string_view() : pairs.substr(comma + 1);
    }
    return std::nullopt;
}

bool IsNumericHost(const std::string& host) {
    unsigned char address[sizeof(in6_addr)];
    return ::inet_pton(AF_INET, host.c_str(), address) == 1 ||
           ::inet_pton(AF_INET6, host.c_str(), address) == 1;
}

// Whether a client would look a name up to use this entry: a TCP entry (nonce-protected or not)
// whose host is not a numeric address, or is missing (clients then take "localhost"), or whose
// port is a service name.
bool NeedsLookup(std::string_view entry) {
    const size_t colon = entry.find(':');
    const std::string_view transport = entry.substr(0, colon);
    if (colon == std::string_view::npos || (transport != "tcp" && transport != "nonce-tcp")) {
        return false;
    }
    const std::string_view pairs = entry.substr(colon + 1);
    const std::optional<std::string_view> host = Value(pairs, "host");
    if (!host) {
        return true;
    }
    const std::optional<std::string> hostText = Unescaped(*host);
    if (hostText && !IsNumericHost(*hostText)) {
        return true;
    }
    const std::optional<std::string_view> port = Value(pairs, "port");
    if (port) {
        const std::optional<std::string> portText = Unescaped(*port);
        return portText && !std::all_of(portText->begin(), portText->end(),
                                        [](char c) { return c >= '0' && c <= '9'; });
    }
    return false;
}

}  // namespace

std::string EscapedAddressValue(std::string_view value) {
    std::string out;
    for (const char c : value) {
        if (IsSafeAddressByte(c)) {
            out += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof(hex), "%%%02x", static_cast<unsigned char>(c));
            out += hex;
        }
    }
    return out;
}

std::string SessionBusAddress(const std::string& address, const std::string& runtimeFolder) {
    if (!address.empty()) {
        return address;
    }
    if (runtimeFolder.empty()) {
        return {};
    }
    const std::string path = runtimeFolder + "/bus";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode) || info.st_uid != ::getuid()) {
        return {};
    }
    return "unix:path=" + EscapedAddressValue(path);
}

AddressWithoutLookups WithoutNameLookups(std::string_view address) {
    size_t from = 0;
    for (;;) {
        const size_t semicolon = address.find(';', from);
        if (NeedsLookup(address.substr(from, semicolon - from))) {
            // The entries before this one, without the separator that ends them.
            return {std::string(address.substr(0, from == 0 ? 0 : from - 1)), true};
        }
        if (semicolon == std::string_view::npos) {
            return {std::string(address), false};
        }
        from = semicolon + 1;
    }
}

}  // namespace fw::detail
