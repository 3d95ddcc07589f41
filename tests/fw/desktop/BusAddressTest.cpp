// The desktop's bus addresses as start-up reads them: the session bus found in the runtime folder
// is written as an address with its path escaped, and the entries that start-up cannot try itself
// (a name to look up, a transport its client lacks, an entry that does not parse) are told apart.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <string>

#include "fw/desktop/BusAddress.h"

TEST(BusAddressTest, ARuntimeFolderBusIsWrittenWithItsPathEscaped) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString();
    struct Row {
        const char* folder;
        const char* escaped;
    };
    const Row rows[] = {
        {"plain-name_1.2", "plain-name_1.2"},
        {"a, b;c=d", "a%2c%20b%3bc%3dd"},
        {"100%", "100%25"},
        {"\xe6\x97\xa5", "%e6%97%a5"},
    };
    for (const Row& row : rows) {
        const std::string folder = root + "/" + row.folder;
        ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0) << row.folder;
        const std::string bus = folder + "/bus";
        const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un where{};
        where.sun_family = AF_UNIX;
        bus.copy(where.sun_path, sizeof(where.sun_path) - 1);
        ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&where), sizeof(where)), 0);
        EXPECT_EQ(fw::detail::SessionBusAddress("", folder),
                  "unix:path=" + fw::detail::EscapedAddressValue(root) + "/" + row.escaped + "/bus")
            << row.folder;
        ::close(socket);
    }
}

TEST(BusAddressTest, EntriesFromTheFirstThatCannotBeTriedAreLeftOut) {
    struct Row {
        const char* address;
        const char* reachable;
        bool cut;
    };
    const Row rows[] = {
        {"unix:path=/run/bus", "unix:path=/run/bus", false},
        {"tcp:host=127.0.0.1,port=5", "tcp:host=127.0.0.1,port=5", false},
        {"tcp:host=%3a%3a1,port=5", "tcp:host=%3a%3a1,port=5", false},
        {"tcp:host=localhost,port=5", "", true},
        {"nonce-tcp:host=example.org,port=5,noncefile=/n", "", true},
        {"tcp:port=5", "", true},
        {"tcp:host=127.0.0.1,port=dbus", "", true},
        {"unix:path=/a;tcp:host=bus.example,port=5;unix:path=/b", "unix:path=/a", true},
        {"unix:path=/a;tcp:host=10.0.0.1,port=5", "unix:path=/a;tcp:host=10.0.0.1,port=5", false},
        {"unix:path=/a;nonce-tcp:host=127.0.0.1,port=5,noncefile=/n", "unix:path=/a", true},
        {"unixexec:path=/bin/sh", "", true},
        {"unix:path=/a%zz", "", true},
        {"autolaunch:", "", false},
        {"unix:path=/a;autolaunch:;unix:path=/b", "unix:path=/a", false},
    };
    for (const Row& row : rows) {
        const fw::detail::TriableAddress result = fw::detail::TriableEntries(row.address);
        EXPECT_EQ(result.reachable, row.reachable) << row.address;
        EXPECT_EQ(result.cut, row.cut) << row.address;
    }
}
