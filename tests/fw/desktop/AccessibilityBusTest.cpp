// Qt's accessibility bridge waits, at the first widget, as long as a bus it uses stays silent.
// Start-up makes each call the bridge would make first, against real bus daemons, the real
// accessibility bus launcher and registry, and scripted buses that answer some calls and not
// others; it keeps the bridge off only where one of them is silent, or where there is no session
// bus.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fw/desktop/AccessibilityBus.h"
#include "tests/support/ScriptedBus.h"
#include "tests/support/SilentBus.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// A program of the desktop, run in a process group of its own and ended with it.
class Process {
public:
    Process(std::vector<std::string> arguments, const std::vector<std::string>& extraEnvironment) {
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        std::vector<std::string> environment(extraEnvironment);
        for (char** entry = environ; *entry != nullptr; ++entry) {
            environment.emplace_back(*entry);
        }
        std::vector<char*> envp;
        for (std::string& entry : environment) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        // The daemons' complaints about their limits are not the test's business.
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&pid_, argv[0], &files, &attributes, argv.data(), envp.data()) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&files);
        posix_spawnattr_destroy(&attributes);
    }
    ~Process() {
        if (pid_ > 0) {
            ::kill(-pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool Started() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

// A client of a bus that asks the bus for a name and then never reads a message sent to it.
class SilentOwner {
public:
    SilentOwner(const std::string& address, const char* name) {
        owns_ = sd_bus_new(&bus_) >= 0 && sd_bus_set_address(bus_, address.c_str()) >= 0 &&
                sd_bus_set_bus_client(bus_, 1) >= 0 && sd_bus_start(bus_) >= 0 &&
                sd_bus_request_name(bus_, name, 0) >= 0;
    }
    ~SilentOwner() { sd_bus_close_unref(bus_); }
    bool Owns() const { return owns_; }

private:
    sd_bus* bus_ = nullptr;
    bool owns_ = false;
};

bool NameOwned(const std::string& address, const char* name) {
    sd_bus* bus = nullptr;
    int owned = 0;
    if (sd_bus_new(&bus) >= 0 && sd_bus_set_address(bus, address.c_str()) >= 0 &&
        sd_bus_set_bus_client(bus, 1) >= 0 && sd_bus_start(bus) >= 0) {
        sd_bus_message* reply = nullptr;
        if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                               "org.freedesktop.DBus", "NameHasOwner", nullptr, &reply, "s",
                               name) >= 0) {
            sd_bus_message_read(reply, "b", &owned);
            sd_bus_message_unref(reply);
        }
    }
    sd_bus_close_unref(bus);
    return owned != 0;
}

bool IsSocket(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

constexpr auto kBudget = 200ms;

}  // namespace

TEST(AccessibilityBusTest, TheBridgeIsKeptOffExactlyWhereABusItWouldUseIsSilent) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString();
    const std::string empty = root + "/empty";
    const std::string runtime = root + "/runtime";
    ASSERT_EQ(::mkdir(empty.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);

    // The session bus: a real daemon, in the runtime folder as desktops put it.
    const std::string sessionPath = runtime + "/bus";
    const std::string session = "unix:path=" + sessionPath;
    Process daemon({"dbus-daemon", "--session", "--nofork", "--address=" + session}, {});
    ASSERT_TRUE(daemon.Started()) << "dbus-daemon (package dbus-daemon) is needed";
    ASSERT_TRUE(WaitFor([&] { return IsSocket(sessionPath); }));
    // A second daemon whose bus the accessibility bus launcher owns a name on.
    const std::string launchedPath = root + "/launched-bus";
    const std::string launched = "unix:path=" + launchedPath;
    Process launchedDaemon({"dbus-daemon", "--session", "--nofork", "--address=" + launched}, {});
    ASSERT_TRUE(WaitFor([&] { return IsSocket(launchedPath); }));
    Process launcher({"/usr/libexec/at-spi-bus-launcher", "--launch-immediately"},
                     {"DBUS_SESSION_BUS_ADDRESS=" + launched, "XDG_RUNTIME_DIR=" + runtime});
    ASSERT_TRUE(launcher.Started()) << "at-spi-bus-launcher (package at-spi2-core) is needed";
    ASSERT_TRUE(WaitFor([&] { return NameOwned(launched, "org.a11y.Bus"); }));
    // A third daemon, on which the accessibility bus's name is owned by a client that never
    // answers.
    const std::string ownedPath = root + "/owned-bus";
    const std::string owned = "unix:path=" + ownedPath;
    Process ownedDaemon({"dbus-daemon", "--session", "--nofork", "--address=" + owned}, {});
    ASSERT_TRUE(WaitFor([&] { return IsSocket(ownedPath); }));
    SilentOwner silentOwner(owned, "org.a11y.Bus");
    ASSERT_TRUE(silentOwner.Owns());
    // The same daemon as an accessibility bus, whose registry never answers.
    SilentOwner silentRegistry(owned, "org.a11y.atspi.Registry");
    ASSERT_TRUE(silentRegistry.Owns());

    // A silent socket whose name must be escaped in an address, so that an address read without
    // unescaping names a file that is not there, which refuses at once.
    const std::string oddName = root + "/silent, bus";
    SilentBus silentOdd(SilentBus::Kind::kPath, oddName, false);
    const std::string oddAddress = "unix:path=" + root + "/silent%2c%20bus";
    SilentBus silent(SilentBus::Kind::kPath, root + "/silent", false);
    SilentBus silentAbstract(SilentBus::Kind::kAbstract, "karuta-test-" + std::to_string(getpid()),
                             false);
    SilentBus silentTcp(SilentBus::Kind::kTcp, "", false);
    SilentBus greetsOnly(SilentBus::Kind::kPath, root + "/greets-only", true);
    for (const SilentBus* bus : {&silentOdd, &silent, &silentAbstract, &silentTcp, &greetsOnly}) {
        ASSERT_FALSE(bus->Address().empty());
    }
    const std::string missing = "unix:path=" + root + "/no-such-bus";
    // A TCP port on which nothing listens: a client is refused there at once, once it has the
    // address to connect to.
    const int unused = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in loopback{};
    loopback.sin_family = AF_INET;
    loopback.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t loopbackSize = sizeof(loopback);
    ASSERT_EQ(::bind(unused, reinterpret_cast<sockaddr*>(&loopback), loopbackSize), 0);
    ASSERT_EQ(::getsockname(unused, reinterpret_cast<sockaddr*>(&loopback), &loopbackSize), 0);
    const std::string closedPort = std::to_string(ntohs(loopback.sin_port));
    ::close(unused);
    // A bus that accepts no connection and whose queue is full: a waiting client waits with it.
    const std::string fullPath = root + "/full";
    const int fullListener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int queued = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un full{};
    full.sun_family = AF_UNIX;
    fullPath.copy(full.sun_path, sizeof(full.sun_path) - 1);
    ASSERT_EQ(::bind(fullListener, reinterpret_cast<sockaddr*>(&full), sizeof(full)), 0);
    ASSERT_EQ(::listen(fullListener, 0), 0);
    ASSERT_EQ(::connect(queued, reinterpret_cast<sockaddr*>(&full), sizeof(full)), 0);

    // Scripted buses: a registry that answers a ping but not the bridge's first call; session
    // buses whose daemon logs a client in and then falls silent, or whose launcher says screen
    // readers are on (or off) and leaves a question unanswered; and one whose launcher and
    // registry answer everything, on one bus that the root window names too.
    using Replies = std::map<std::string, ScriptedBus::Reply>;
    ScriptedBus registryPings(root + "/registry-pings", Replies{{"Hello", {}}, {"Ping", {}}});
    ScriptedBus helloOnly(root + "/hello-only", Replies{{"Hello", {}}});
    const Replies launcherOn{{"Hello", {}}, {"NameHasOwner", true}, {"Get", true}};
    ScriptedBus addressUnanswered(root + "/no-address", launcherOn);
    ScriptedBus launcherOff(root + "/launcher-off",
                            Replies{{"Hello", {}}, {"NameHasOwner", true}, {"Get", false}});
    ScriptedBus healthy(root + "/healthy", Replies{{"Hello", {}},
                                                   {"NameHasOwner", true},
                                                   {"Get", true},
                                                   {"GetAddress", "unix:path=" + root + "/healthy"},
                                                   {"GetRegisteredEvents", {}}});
    for (const ScriptedBus* bus :
         {&registryPings, &helloOnly, &addressUnanswered, &launcherOff, &healthy}) {
        ASSERT_FALSE(bus->Address().empty());
    }
    const std::string nonce = "nonce-tcp:host=127.0.0.1,port=" + closedPort + ",noncefile=/n";

    const std::optional<std::string> kOn;
    const std::optional<std::string> kOff = fw::detail::kNoAccessibilityBus;
    struct Row {
        const char* name;
        fw::detail::AccessibilityBusPlaces places;
        std::optional<std::string> expected;
        // The session bus answered an earlier check, which spent the whole budget.
        bool budgetSpent = false;
    };
    const auto alwaysOn = [](fw::detail::AccessibilityBusPlaces places) {
        places.alwaysOn = true;
        return places;
    };
    const Row rows[] = {
        // What the environment names as the accessibility bus is the only place looked at.
        {"accessibility address, a real bus", {session, "", empty, ""}, kOn},
        {"accessibility address, silent", {silent.Address(), session, runtime, ""}, kOff},
        {"accessibility address, logs in and falls silent",
         {greetsOnly.Address(), "", "", ""},
         kOff},
        {"accessibility address, nothing there", {missing, "", empty, ""}, kOn},
        {"accessibility address, registry never answers", {owned, "", empty, ""}, kOff},
        {"accessibility address, registry answers only a ping",
         {registryPings.Address(), "", empty, ""},
         kOff},
        // The session bus, and the accessibility bus that it leads to.
        {"no session bus: the bridge would start one", {"", "", empty, ""}, kOff},
        {"no session bus, no runtime folder", {"", "", "", ""}, kOff},
        {"session bus in the runtime folder", {"", "", runtime, ""}, kOn},
        {"session bus named", {"", session, empty, ""}, kOn},
        {"session bus, escaped path, silent", {"", oddAddress, empty, ""}, kOff},
        {"session bus, abstract, silent", {"", silentAbstract.Address(), empty, ""}, kOff},
        {"session bus, TCP, silent", {"", silentTcp.Address(), empty, ""}, kOff},
        {"session bus, queue full", {"", "unix:path=" + fullPath, empty, ""}, kOff},
        // A host name is looked up without a deadline, so it counts as silent however the
        // name service would answer; a numeric address needs no look-up.
        {"session bus, TCP by host name",
         {"", "tcp:host=localhost,port=" + closedPort, empty, ""},
         kOff},
        {"session bus, TCP by number, refused",
         {"", "tcp:host=127.0.0.1,port=" + closedPort, empty, ""},
         kOn},
        {"session bus, logs in and never answers a call",
         {"", greetsOnly.Address(), empty, ""},
         kOff},
        {"session bus, answers Hello and not who owns the launcher's name",
         {"", helloOnly.Address(), empty, ""},
         kOff},
        {"session bus, a transport start-up cannot try", {"", nonce, empty, ""}, kOff},
        {"session bus answered, budget spent before the launcher is asked",
         {"", session, empty, ""},
         kOff,
         true},
        {"session bus, first entry missing, next silent",
         {"", missing + ";" + silent.Address(), empty, ""},
         kOff},
        {"session bus, first entry missing, next real",
         {"", missing + ";" + session, empty, ""},
         kOn},
        {"session bus, a listening-only form the bridge cannot use",
         {"", "unix:runtime=yes", runtime, ""},
         kOn},
        {"accessibility bus launcher on the session bus", {"", launched, empty, ""}, kOn},
        {"accessibility bus owner that never answers", {"", owned, empty, ""}, kOff},
        {"launcher says on, never gives the address",
         {"", addressUnanswered.Address(), empty, ""},
         kOff},
        {"launcher says off", {"", launcherOff.Address(), empty, ""}, kOn},
        {"launcher says off, the bridge always on",
         alwaysOn({"", launcherOff.Address(), empty, ""}), kOff},
        {"launcher and registry answer, the root window names the same bus",
         {"", healthy.Address(), empty, healthy.Address()},
         kOn},
        // The root window's address is used beside the session bus's.
        {"root window address, a real bus", {"", session, empty, launched}, kOn},
        {"root window address, silent", {"", session, empty, silent.Address()}, kOff},
    };
    for (const Row& row : rows) {
        fw::detail::BusConnections buses;
        if (row.budgetSpent) {
            ASSERT_EQ(buses.Connect(session, std::chrono::steady_clock::now() + 1s).outcome,
                      fw::detail::BusOutcome::kAnswered);
        }
        const auto start = std::chrono::steady_clock::now();
        const std::optional<std::string> override = fw::detail::AccessibilityBusOverride(
            row.places, buses, row.budgetSpent ? start - 1ms : start + kBudget);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(override, row.expected) << row.name;
        // The budget is shared by every bus tried, with a small allowance for ending the look.
        EXPECT_LT(took, kBudget + 1s) << row.name;
    }
    // Reached both ways, the registry is asked once.
    EXPECT_EQ(healthy.Calls("GetRegisteredEvents"), 1);
    ::close(queued);
    ::close(fullListener);
}
