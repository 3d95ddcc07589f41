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

// The entries of an address that a client can try without looking a name up. Clients try the
// entries in order; a TCP entry whose host is not a numeric address (or whose port is not a
// number) is looked up first, and a look-up waits as long as the name service takes, without a
// deadline. Those entries and every one after them are left out.
struct AddressWithoutLookups {
    std::string reachable;   // the entries before the first that needs a look-up
    bool lookupCut = false;  // whether an entry was left out for needing one
};
AddressWithoutLookups WithoutNameLookups(std::string_view address);

}  // namespace fw::detail
