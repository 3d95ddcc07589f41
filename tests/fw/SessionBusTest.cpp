// Whether the session bus is there to talk to decides whether the accessibility bridge may look
// for its bus: a bus that answers keeps screen readers working, one that is missing or silent
// must not hold up the window.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>

#include "fw/detail/SessionBus.h"

namespace {

using namespace std::chrono_literals;

// A listening Unix socket, at a path or in the abstract namespace. An answering one replies to
// the first thing a client sends, as a bus refusing its authentication does; a silent one lets
// clients connect (the kernel's backlog takes them) and never says a word.
class FakeBus {
public:
    FakeBus(const std::string& name, bool abstract, bool answers) {
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un where{};
        where.sun_family = AF_UNIX;
        const size_t offset = abstract ? 1 : 0;
        name.copy(where.sun_path + offset, sizeof(where.sun_path) - offset - 1);
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                                   name.size() + (abstract ? 0 : 1));
        listening_ = ::bind(listener_, reinterpret_cast<sockaddr*>(&where), length) == 0 &&
                     ::listen(listener_, 8) == 0;
        if (listening_ && answers) {
            answerer_ = std::thread([this] { AnswerOne(); });
        }
    }
    ~FakeBus() {
        ::shutdown(listener_, SHUT_RDWR);  // wakes an accept that no client came for
        if (answerer_.joinable()) {
            answerer_.join();
        }
        ::close(listener_);
    }
    bool Listening() const { return listening_; }

private:
    void AnswerOne() {
        pollfd wait{listener_, POLLIN, 0};
        if (::poll(&wait, 1, 5000) <= 0) {
            return;
        }
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            return;
        }
        char greeting[128];
        if (::recv(client, greeting, sizeof(greeting), 0) > 0) {
            constexpr char kRefusal[] = "REJECTED EXTERNAL\r\n";
            ::send(client, kRefusal, sizeof(kRefusal) - 1, MSG_NOSIGNAL);
        }
        ::close(client);
    }

    int listener_ = -1;
    bool listening_ = false;
    std::thread answerer_;
};

enum class Bus { kNone, kAnswering, kSilent, kAnsweringAbstract };

}  // namespace

// The accessibility bridge would wait at the first widget when it has to look on the session
// bus for its own bus (no accessibility address, or an empty one) and that bus is missing or
// silent; a bus that answers, or an accessibility bus named outright, keeps it working.
TEST(SessionBusTest, TheBridgeWouldWaitOnlyForAMissingOrSilentBus) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string dir = folder.path().toStdString();
    const std::string fake = "unix:path=" + dir + "/fake";
    const std::string abstractName = "karuta-test-bus-" + std::to_string(::getpid());
    struct Case {
        const char* what;
        Bus bus;
        std::string sessionAddress;  // with the fake bus at dir/fake
        std::string runtimeFolder;
        const char* accessibilityAddress;
        bool waits;
    };
    const Case cases[] = {
        {"answering bus", Bus::kAnswering, fake + ",guid=0123", "", "", false},
        {"answering bus, escaped path", Bus::kAnswering, "unix:path=" + dir + "%2ffake", "", "",
         false},
        {"answering bus after one that is gone", Bus::kAnswering,
         "unix:path=" + dir + "/gone;" + fake, "", "", false},
        {"answering bus in the abstract namespace", Bus::kAnsweringAbstract,
         "unix:abstract=" + abstractName, "", "", false},
        {"answering bus in the runtime folder", Bus::kAnswering, "", dir, "", false},
        {"silent bus", Bus::kSilent, fake, "", "", true},
        {"silent bus named five times", Bus::kSilent,
         fake + ";" + fake + ";" + fake + ";" + fake + ";" + fake, "", "", true},
        {"silent bus in the runtime folder", Bus::kSilent, "", dir, "", true},
        {"silent bus, the accessibility bus named", Bus::kSilent, fake, "", "unix:path=/run/a11y",
         false},
        {"no bus at the address", Bus::kNone, fake, "", "", true},
        {"no address and no runtime folder", Bus::kNone, "", "", "", true},
        {"no address and no bus in the runtime folder", Bus::kNone, "", dir, "", true},
        {"a transport other than a Unix socket", Bus::kNone, "tcp:host=127.0.0.1,port=1", "", "",
         true},
        {"a malformed escape", Bus::kAnswering, "unix:path=" + dir + "%2", "", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The runtime folder's bus is the socket named "bus" there; the others are "fake".
        const std::string path = dir + (c.runtimeFolder.empty() ? "/fake" : "/bus");
        ::unlink(path.c_str());
        std::unique_ptr<FakeBus> bus;
        if (c.bus != Bus::kNone) {
            const bool abstract = c.bus == Bus::kAnsweringAbstract;
            bus = std::make_unique<FakeBus>(abstract ? abstractName : path, abstract,
                                            c.bus != Bus::kSilent);
            ASSERT_TRUE(bus->Listening());
        }
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(fw::detail::AccessibilityBridgeWouldWait(c.accessibilityAddress, c.sessionAddress,
                                                           c.runtimeFolder, 300ms),
                  c.waits);
        // However many silent addresses there are, finding out costs the patience given once.
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
        bus.reset();
        ::unlink(path.c_str());
    }
}
