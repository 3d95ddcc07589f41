#include "tests/support/SilentBus.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>

SilentBus::SilentBus(Kind kind, const std::string& name, bool chatty) {
    sockaddr_storage where{};
    socklen_t length = 0;
    if (kind == Kind::kTcp) {
        auto& inet = reinterpret_cast<sockaddr_in&>(where);
        inet.sin_family = AF_INET;
        inet.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        length = sizeof(inet);
    } else {
        auto& unix = reinterpret_cast<sockaddr_un&>(where);
        unix.sun_family = AF_UNIX;
        const size_t offset = kind == Kind::kAbstract ? 1 : 0;
        name.copy(unix.sun_path + offset, sizeof(unix.sun_path) - offset - 1);
        length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + name.size() +
                                        (offset == 0 ? 1 : 0));
    }
    listener_ = ::socket(where.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&where), length) != 0 ||
        ::listen(listener_, 16) != 0) {
        return;
    }
    address_ = kind == Kind::kPath ? "unix:path=" + name : "unix:abstract=" + name;
    if (kind == Kind::kTcp) {
        sockaddr_in bound{};
        socklen_t size = sizeof(bound);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&bound), &size);
        address_ = "tcp:host=127.0.0.1,port=" + std::to_string(ntohs(bound.sin_port));
    }
    if (chatty) {
        talker_ = std::thread([this] { LogInAndFallSilent(); });
    }
}

SilentBus::~SilentBus() {
    ::shutdown(listener_, SHUT_RDWR);  // wakes the accept
    if (talker_.joinable()) {
        talker_.join();
    }
    for (const int client : clients_) {
        ::close(client);
    }
    ::close(listener_);
}

// Accepts the login and the file-descriptor passing that clients ask for, then reads and never
// answers anything more.
void SilentBus::LogInAndFallSilent() {
    for (;;) {
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            return;
        }
        clients_.push_back(client);
        std::string said;
        char chunk[256];
        ssize_t got = 0;
        while (said.find("BEGIN\r\n") == std::string::npos &&
               (got = ::recv(client, chunk, sizeof(chunk), 0)) > 0) {
            const std::string lines(chunk, static_cast<size_t>(got));
            said += lines;
            std::string reply;
            if (lines.find("AUTH ") != std::string::npos) {
                reply += "OK 0123456789abcdef0123456789abcdef\r\n";
            }
            if (lines.find("NEGOTIATE_UNIX_FD") != std::string::npos) {
                reply += "AGREE_UNIX_FD\r\n";
            }
            ::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
        }
    }
}
