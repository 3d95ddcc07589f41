#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

// A bus on a Unix socket that answers only the methods it is given, each with the same reply,
// whoever the call is for, and never answers any other: a bus whose daemon answers Hello while
// the service behind it hangs, or a service that answers a ping while its main loop is stuck.
class ScriptedBus {
public:
    struct NoValue {};
    using Reply = std::variant<NoValue, bool, std::string>;

    // member -> its reply. "Hello" must be among them for a client to log in; "Ping" answers
    // org.freedesktop.DBus.Peer.Ping.
    ScriptedBus(const std::string& path, std::map<std::string, Reply> replies);
    ScriptedBus(const ScriptedBus&) = delete;
    ScriptedBus& operator=(const ScriptedBus&) = delete;
    ~ScriptedBus();

    // Empty when the socket could not be set up.
    const std::string& Address() const { return address_; }
    // How often member has been called, answered or not.
    int Calls(const std::string& member) const;

private:
    void Serve();

    int listener_ = -1;
    std::string address_;
    std::map<std::string, Reply> replies_;
    mutable std::mutex mutex_;
    std::map<std::string, int> calls_;
    std::atomic<bool> stopping_{false};
    std::thread server_;
};
