// Qt's IBus input method connects to IBus's bus while the QApplication is being made, asks IBus
// for an input context and waits as long as no answer comes. Start-up finds the bus as the input
// method does, reads the address file as Qt reads it, asks what Qt asks, and leaves the input
// method out where that is silent, where the file could not be read without waiting, or where it
// cannot be sure what Qt would connect to; elsewhere Qt is handed the file that was read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "fw/desktop/InputMethodBus.h"
#include "tests/support/PipeWatchdog.h"
#include "tests/support/ScriptedBus.h"
#include "tests/support/SilentBus.h"

namespace {

using namespace std::chrono_literals;
using fw::detail::InputMethodEnvironment;

InputMethodEnvironment Environment(std::optional<std::string> module,
                                   std::optional<std::string> addressFile) {
    InputMethodEnvironment environment;
    environment.module = std::move(module);
    environment.addressFile = std::move(addressFile);
    environment.display = ":0";
    environment.configHome = "/config";
    environment.machineId = "id";
    environment.home = "/home/u";
    return environment;
}

}  // namespace

TEST(InputMethodBusTest, TheAddressFileIsWhereTheDaemonWritesItForThisDisplay) {
    struct Row {
        const char* name;
        InputMethodEnvironment environment;
        const char* expected;
    };
    const auto with = [](auto change) {
        InputMethodEnvironment environment = Environment("ibus", std::nullopt);
        change(environment);
        return environment;
    };
    const Row rows[] = {
        {"X display", with([](auto&) {}), "/config/ibus/bus/id-unix-0"},
        {"screen and host", with([](auto& e) { e.display = "host:12.1"; }),
         "/config/ibus/bus/id-host-12"},
        {"Wayland first", with([](auto& e) { e.waylandDisplay = "wayland-1"; }),
         "/config/ibus/bus/id-unix-wayland-1"},
        {"no display", with([](auto& e) { e.display.reset(); }), "/config/ibus/bus/id-unix-"},
        {"home folder's configuration", with([](auto& e) { e.configHome = ""; }),
         "/home/u/.config/ibus/bus/id-unix-0"},
        // Qt cleans the home folder's path as text, wherever a link in it leads.
        {"home folder through a link", with([](auto& e) {
             e.configHome.reset();
             e.home = "/home/u/link/..";
         }),
         "/home/u/.config/ibus/bus/id-unix-0"},
        {"named file", with([](auto& e) { e.addressFile = "/elsewhere"; }), "/elsewhere"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fw::detail::IBusAddressFile(row.environment), row.expected) << row.name;
    }
}

TEST(InputMethodBusTest, TheMachineIdIsTheFirstThatTheDBusLibraryAccepts) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString();
    const std::string id = "0123456789abcdef0123456789abcdef";
    const auto write = [&](const char* name, const std::string& text) {
        QFile file(QString::fromStdString(root + "/" + name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return root + "/" + name;
    };
    const std::string valid = write("valid", " " + id + "\n");
    const std::string capitals = write("capitals", "0123456789ABCDEF0123456789ABCDEF\n");
    const std::string garbage = write("garbage", "not an id\n");
    const std::string empty = write("empty", "");
    struct Row {
        const char* name;
        std::vector<std::string> files;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"white space around it", {valid}, id},
        {"capitals, then a valid one", {capitals, valid}, id},
        {"not an id, then a valid one", {garbage, valid}, id},
        {"missing, then a valid one", {root + "/missing", valid}, id},
        {"none valid", {capitals, empty}, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fw::detail::DBusMachineId(row.files), row.expected) << row.name;
    }
}

TEST(InputMethodBusTest, TheInputMethodIsLeftOutWhereWhatQtAsksFirstIsSilent) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString();
    SilentBus silent(SilentBus::Kind::kPath, root + "/silent", false);
    ASSERT_FALSE(silent.Address().empty());
    // A bus whose daemon answers while IBus, or its portal, does not: only a ping is answered.
    ScriptedBus ibusHung(root + "/ibus-hung", {{"Hello", {}}, {"Ping", {}}});
    ASSERT_FALSE(ibusHung.Address().empty());
    ScriptedBus ibus(root + "/ibus", {{"Hello", {}}, {"CreateInputContext", {}}});
    ASSERT_FALSE(ibus.Address().empty());
    const std::string missing = "unix:path=" + root + "/no-such-bus";
    const auto write = [&](const char* name, const std::string& text) {
        QFile file(QString::fromStdString(root + "/" + name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return root + "/" + name;
    };
    const std::string pid = "\nIBUS_DAEMON_PID=" + std::to_string(::getpid()) + "\n";
    const std::string running = write("running", "# IBus\nIBUS_ADDRESS=" + silent.Address() + pid);
    // No process has the largest process id there can be.
    const std::string gone =
        write("gone", "IBUS_ADDRESS=" + silent.Address() + "\nIBUS_DAEMON_PID=2147483647\n");
    // Qt reads a process id that is not a number as 0, which kill() finds alive.
    const std::string garbled =
        write("garbled", "IBUS_ADDRESS=" + silent.Address() + "\nIBUS_DAEMON_PID=12x\n");
    // Qt trims the vertical tab and the form feed as white space.
    const std::string spaced = write("spaced", "\vIBUS_ADDRESS=" + silent.Address() + "\f" + pid);
    // Qt keeps the last address the file gives.
    const std::string twice =
        write("twice", "IBUS_ADDRESS=" + missing + "\nIBUS_ADDRESS=" + silent.Address() + pid);
    const std::string hung = write("hung", "IBUS_ADDRESS=" + ibusHung.Address() + pid);
    const std::string answers = write("answers", "IBUS_ADDRESS=" + ibus.Address() + pid);
    // A transport start-up's client lacks, in front of the silent bus.
    const std::string nonce =
        write("nonce", "IBUS_ADDRESS=nonce-tcp:host=127.0.0.1,port=1,noncefile=/n;" +
                           silent.Address() + pid);
    const std::string pipe = root + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    PipeWatchdog watchdog({QString::fromStdString(pipe)}, 2s);
    const auto portal = [](const std::string& session) {
        InputMethodEnvironment environment = Environment("ibus", std::nullopt);
        environment.usePortal.emplace(1, '1');
        environment.sessionAddress = session;
        return environment;
    };
    const auto noMachineId = [&] {
        InputMethodEnvironment environment = Environment("ibus", std::nullopt);
        environment.machineId.reset();
        return environment;
    };

    struct Row {
        const char* name;
        InputMethodEnvironment environment;
        bool leftOut;
        std::optional<std::string> handedFile;
    };
    const Row rows[] = {
        {"daemon runs, its bus is silent", Environment("ibus", running), true, std::nullopt},
        {"asked for in capitals, with an argument", Environment("IBus:x", running), true,
         std::nullopt},
        {"another input method", Environment("compose", running), false, std::nullopt},
        {"no input method asked for", Environment(std::nullopt, running), false, std::nullopt},
        {"the daemon that wrote the file is gone", Environment("ibus", gone), false, gone},
        {"a process id that is not a number", Environment("ibus", garbled), true, std::nullopt},
        {"vertical tab and form feed around a line", Environment("ibus", spaced), true,
         std::nullopt},
        {"the address given twice", Environment("ibus", twice), true, std::nullopt},
        {"the bus answers, IBus does not", Environment("ibus", hung), true, std::nullopt},
        {"IBus answers", Environment("ibus", answers), false, answers},
        {"a transport start-up cannot try", Environment("ibus", nonce), true, std::nullopt},
        {"no address file", Environment("ibus", root + "/missing"), false, root + "/missing"},
        {"the address file is a pipe", Environment("ibus", pipe), true, std::nullopt},
        {"no machine id to name the file by", noMachineId(), true, std::nullopt},
        {"portal answers a ping, not IBus's call", portal(ibusHung.Address()), true, std::nullopt},
        {"portal answers", portal(ibus.Address()), false, std::nullopt},
    };
    for (const Row& row : rows) {
        fw::detail::BusConnections buses;
        const auto start = std::chrono::steady_clock::now();
        const fw::detail::InputMethodChoice choice =
            fw::detail::ChooseInputMethod(row.environment, buses, start + 200ms);
        EXPECT_EQ(choice.leaveOut, row.leftOut) << row.name;
        EXPECT_EQ(choice.addressFile, row.handedFile) << row.name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << row.name;
    }
    EXPECT_FALSE(watchdog.Fired()) << "the address file was read as a pipe";
}
