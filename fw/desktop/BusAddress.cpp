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

// What a client does with one entry of an address, as far as start-up can tell beforehand.
enum class EntryKind {
    kTriable,     // start-up's own client does what any client would
    kAutolaunch,  // a client would start a bus for the display
    kUntriable,   // malformed, a transport start-up lacks, or a name to look up first
};

bool IsDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether every value of an entry's "key=value,key=value" list unescapes.
bool ValuesUnescape(std::string_view pairs) {
    while (!pairs.empty()) {
        const size_t comma = pairs.find(',');
        const std::string_view pair = pairs.substr(0, comma);
        const size_t equals = pair.find('=');
        if (equals == std::string_view::npos || !Unescaped(pair.substr(equals + 1))) {
            return false;
        }
        pairs = comma == std::string_view::npos ? std::string_view() : pairs.substr(comma + 1);
    }
    return true;
}

EntryKind KindOf(std::string_view entry) {
    const size_t colon = entry.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        return EntryKind::kUntriable;
    }
    const std::string_view transport = entry.substr(0, colon);
    const std::string_view pairs = entry.substr(colon + 1);
    if (!ValuesUnescape(pairs)) {
        return EntryKind::kUntriable;
    }
    if (transport == "unix") {
        return EntryKind::kTriable;
    }
    if (transport == "autolaunch") {
        return EntryKind::kAutolaunch;
    }
    if (transport != "tcp") {
        return EntryKind::kUntriable;
    }
    // A missing host is "localhost" to a client, a name to look up.
    const std::optional<std::string_view> host = Value(pairs, "host");
    if (!host || !IsNumericHost(*Unescaped(*host))) {
        return EntryKind::kUntriable;
    }
    const std::optional<std::string_view> port = Value(pairs, "port");
    return port && !IsDigits(*Unescaped(*port)) ? EntryKind::kUntriable : EntryKind::kTriable;
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

TriableAddress TriableEntries(std::string_view address) {
    size_t from = 0;
    for (;;) {
        const size_t semicolon = address.find(';', from);
        const std::string_view entry = address.substr(from, semicolon - from);
        // An empty entry (a trailing ';') is skipped by every client.
        const EntryKind kind = entry.empty() ? EntryKind::kTriable : KindOf(entry);
        if (kind != EntryKind::kTriable) {
            // The entries before this one, without the separator that ends them.
            return {std::string(address.substr(0, from == 0 ? 0 : from - 1)),
                    kind == EntryKind::kUntriable};
        }
        if (semicolon == std::string_view::npos) {
            return {std::string(address), false};
        }
        from = semicolon + 1;
    }
}

}  // namespace fw::detail
