#include "tests/support/ScriptedBus.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <systemd/sd-bus.h>
#include <systemd/sd-id128.h>
#include <unistd.h>

#include <memory>

namespace {

struct BusCloser {
    void operator()(sd_bus* bus) const { sd_bus_close_unref(bus); }
};

}  // namespace

ScriptedBus::ScriptedBus(const std::string& path, std::map<std::string, Reply> replies)
    : replies_(std::move(replies)) {
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    path.copy(where.sun_path, sizeof(where.sun_path) - 1);
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&where), sizeof(where)) != 0 ||
        ::listen(listener_, 16) != 0) {
        return;
    }
    address_ = "unix:path=" + path;
    server_ = std::thread([this] { Serve(); });
}

ScriptedBus::~ScriptedBus() {
    stopping_ = true;
    if (server_.joinable()) {
        server_.join();
    }
    ::close(listener_);
}

int ScriptedBus::Calls(const std::string& member) const {
    const std::lock_guard lock(mutex_);
    const auto it = calls_.find(member);
    return it == calls_.end() ? 0 : it->second;
}

void ScriptedBus::Serve() {
    std::vector<std::unique_ptr<sd_bus, BusCloser>> clients;
    const auto handle = [](sd_bus_message* message, void* self, sd_bus_error*) -> int {
        auto& bus = *static_cast<ScriptedBus*>(self);
        if (!sd_bus_message_is_method_call(message, nullptr, nullptr)) {
            return 0;
        }
        const std::string member = sd_bus_message_get_member(message);
        {
            const std::lock_guard lock(bus.mutex_);
            ++bus.calls_[member];
        }
        const auto reply = bus.replies_.find(member);
        if (reply == bus.replies_.end()) {
            return 1;  // never answered
        }
        sd_bus_message* answer = nullptr;
        sd_bus_message_new_method_return(message, &answer);
        if (member == "Hello") {
            sd_bus_message_append(answer, "s", ":1.1");
        } else if (const bool* value = std::get_if<bool>(&reply->second)) {
            // A property's value comes in a variant, a method's as it is.
            if (member == "Get") {
                sd_bus_message_append(answer, "v", "b", static_cast<int>(*value));
            } else {
                sd_bus_message_append(answer, "b", static_cast<int>(*value));
            }
        } else if (const std::string* text = std::get_if<std::string>(&reply->second)) {
            sd_bus_message_append(answer, "s", text->c_str());
        }
        sd_bus_send(sd_bus_message_get_bus(message), answer, nullptr);
        sd_bus_message_unref(answer);
        return 1;
    };
    sd_id128_t id{};
    sd_id128_randomize(&id);
    while (!stopping_) {
        std::vector<pollfd> watched{{listener_, POLLIN, 0}};
        for (const auto& client : clients) {
            watched.push_back({sd_bus_get_fd(client.get()), POLLIN, 0});
        }
        ::poll(watched.data(), watched.size(), 20);
        const int accepted = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (accepted >= 0) {
            sd_bus* bus = nullptr;
            sd_bus_new(&bus);
            sd_bus_set_fd(bus, accepted, accepted);
            sd_bus_set_server(bus, 1, id);
            sd_bus_add_filter(bus, nullptr, handle, this);
            sd_bus_start(bus);
            clients.emplace_back(bus);
        }
        for (const auto& client : clients) {
            while (sd_bus_process(client.get(), nullptr) > 0) {
            }
        }
    }
}
