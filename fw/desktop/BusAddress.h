#pragma once

#include <string>
#include <string_view>

// Private to the framework: D-Bus addresses as the desktop's environment gives them.
namespace fw::detail {

// The value escaped as a D-Bus address writes it: every byte outside a few safe ones as %xx.
std::string EscapedAddressValue(std::string_view value);

// The session bus address a client would use: address when set, else the "bus" socket of the
// runtime folder, if it is a socket of this user's, as an address; empty when neither is there
// (a client would start a bus).
std::string SessionBusAddress(const std::string& address, const std::string& runtimeFolder);

// The entries of an address that start-up can try itself, in order, before the first it cannot:
// clients try the entries in order, so what a client does after those depends on an entry whose
// outcome start-up cannot know in time. That is an entry that does not parse, a transport the
// start-up client lacks (nonce-protected TCP, a program to run, and any other but a Unix socket
// or plain TCP), and a TCP entry whose host is not a numeric address (or whose port is not a
// number): its name is looked up first, and a look-up waits as long as the name service takes,
// without a deadline. Such an entry and every one after it are left out, and cut says so. An
// "autolaunch:" entry ends the entries too, without a cut: a client there starts a bus for the
// display, which is meant to outlive the program, and start-up leaves that to the client.
struct TriableAddress {
    std::string reachable;  // the entries before the first that cannot be tried
    bool cut = false;       // whether an entry was left out that a client would go on to
};
TriableAddress TriableEntries(std::string_view address);

}  // namespace fw::detail
