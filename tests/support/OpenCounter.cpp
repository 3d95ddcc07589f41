#include "tests/support/OpenCounter.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QFile>
#include <array>

OpenCounter::OpenCounter(const QString& path) : notify_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (notify_ >= 0) {
        watch_ = ::inotify_add_watch(notify_, QFile::encodeName(path).constData(), IN_OPEN);
    }
}

OpenCounter::~OpenCounter() {
    if (notify_ >= 0) {
        ::close(notify_);
    }
}

int OpenCounter::Opens() {
    int opens = 0;
    alignas(inotify_event) std::array<char, 16 * 1024> buffer;
    for (;;) {
        const ssize_t got = ::read(notify_, buffer.data(), buffer.size());
        if (got <= 0) {
            return opens;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            opens += (event->mask & IN_OPEN) != 0;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}
