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

TEST(SessionBusTest, AnswersOnlyWhenABusReplies) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string dir = folder.path().toStdString();
    const std::string abstractName = "karuta-test-bus-" + std::to_string(::getpid());
    struct Case {
        const char* what;
        Bus bus;
        std::string address;  // with the fake bus at dir/fake
        std::string runtimeFolder;
        bool answers;
    };
    const Case cases[] = {
        {"answering bus", Bus::kAnswering, "unix:path=" + dir + "/fake,guid=0123", "", true},
        {"answering bus, escaped path", Bus::kAnswering, "unix:path=" + dir + "%2ffake", "", true},
        {"answering bus after one that is gone", Bus::kAnswering,
         "unix:path=" + dir + "/gone;unix:path=" + dir + "/fake", "", true},
        {"answering bus in the abstract namespace", Bus::kAnsweringAbstract,
         "unix:abstract=" + abstractName, "", true},
        {"answering bus in the runtime folder", Bus::kAnswering, "", dir, true},
        {"silent bus", Bus::kSilent, "unix:path=" + dir + "/fake", "", false},
        {"silent bus in the runtime folder", Bus::kSilent, "", dir, false},
        {"no bus at the address", Bus::kNone, "unix:path=" + dir + "/fake", "", false},
        {"no address and no runtime folder", Bus::kNone, "", "", false},
        {"no address and no bus in the runtime folder", Bus::kNone, "", dir, false},
        {"a transport other than a Unix socket", Bus::kNone, "tcp:host=127.0.0.1,port=1", "",
         false},
        {"a malformed escape", Bus::kAnswering, "unix:path=" + dir + "%2", "", false},
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
        EXPECT_EQ(fw::detail::SessionBusAnswers(c.address, c.runtimeFolder, 300ms), c.answers);
        // A silent bus costs the patience given, and never more than a little beyond it.
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
        bus.reset();
        ::unlink(path.c_str());
    }
}
