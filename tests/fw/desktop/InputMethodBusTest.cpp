// Qt's IBus input method connects to IBus's bus while the QApplication is being made and waits as
// long as that bus is silent. Start-up finds the bus as the input method does and leaves the
// input method out where the bus is silent, or where the file naming it could not be read
// without waiting.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <optional>
#include <string>

#include "fw/desktop/InputMethodBus.h"
#include "tests/support/PipeWatchdog.h"
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
        {"home folder's configuration", with([](auto& e) {
             e.configHome = "";
             e.home = "/home/u";
         }),
         "/home/u/.config/ibus/bus/id-unix-0"},
        {"named file", with([](auto& e) { e.addressFile = "/elsewhere"; }), "/elsewhere"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fw::detail::IBusAddressFile(row.environment), row.expected) << row.name;
    }
}

TEST(InputMethodBusTest, TheInputMethodIsLeftOutWhereItsBusIsSilent) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString();
    SilentBus silent(SilentBus::Kind::kPath, root + "/silent", false);
    ASSERT_FALSE(silent.Address().empty());
    const auto write = [&](const char* name, const std::string& text) {
        QFile file(QString::fromStdString(root + "/" + name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return root + "/" + name;
    };
    const std::string running =
        write("running", "# IBus\nIBUS_ADDRESS=" + silent.Address() +
                             "\nIBUS_DAEMON_PID=" + std::to_string(::getpid()) + "\n");
    // No process has the largest process id there can be.
    const std::string gone =
        write("gone", "IBUS_ADDRESS=" + silent.Address() + "\nIBUS_DAEMON_PID=2147483647\n");
    // Qt reads a process id that is not a number as 0, which kill() finds alive.
    const std::string garbled =
        write("garbled", "IBUS_ADDRESS=" + silent.Address() + "\nIBUS_DAEMON_PID=12x\n");
    const std::string pipe = root + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    PipeWatchdog watchdog({QString::fromStdString(pipe)}, 2s);

    struct Row {
        const char* name;
        InputMethodEnvironment environment;
        bool silent;
    };
    const Row rows[] = {
        {"daemon runs, its bus is silent", Environment("ibus", running), true},
        {"asked for in capitals, with an argument", Environment("IBus:x", running), true},
        {"another input method", Environment("compose", running), false},
        {"no input method asked for", Environment(std::nullopt, running), false},
        {"the daemon that wrote the file is gone", Environment("ibus", gone), false},
        {"a process id that is not a number", Environment("ibus", garbled), true},
        {"no address file", Environment("ibus", root + "/missing"), false},
        {"the address file is a pipe", Environment("ibus", pipe), true},
    };
    for (const Row& row : rows) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(fw::detail::InputMethodBusIsSilent(row.environment, start + 200ms), row.silent)
            << row.name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << row.name;
    }
    EXPECT_FALSE(watchdog.Fired()) << "the address file was read as a pipe";
}
