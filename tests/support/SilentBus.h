#pragma once

#include <string>
#include <thread>
#include <vector>

// A socket that takes connections and never says a word, or (chatty) one that logs a client in
// as a bus does and then never answers a call. Unix path, abstract name or TCP on loopback.
class SilentBus {
public:
    enum class Kind { kPath, kAbstract, kTcp };
    SilentBus(Kind kind, const std::string& name, bool chatty);
    SilentBus(const SilentBus&) = delete;
    SilentBus& operator=(const SilentBus&) = delete;
    ~SilentBus();
    // Empty when the socket could not be set up.
    const std::string& Address() const { return address_; }

private:
    void LogInAndFallSilent();

    int listener_ = -1;
    std::string address_;
    std::thread talker_;
    std::vector<int> clients_;
};
