#include "tests/support/PipeWatchdog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <utility>

PipeWatchdog::PipeWatchdog(QStringList paths, std::chrono::milliseconds patience)
    : paths_(std::move(paths)), thread_([this, patience] { Watch(patience); }) {}

PipeWatchdog::~PipeWatchdog() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    thread_.join();
}

bool PipeWatchdog::Fired() {
    const std::lock_guard lock(mutex_);
    return fired_;
}

void PipeWatchdog::Watch(std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    if (stop_.wait_for(lock, patience, [this] { return stopping_; })) {
        return;
    }
    do {
        for (const QString& path : paths_) {
            const QByteArray name = QFile::encodeName(path);
            struct stat info {};
            if (::lstat(name.constData(), &info) != 0 || !S_ISFIFO(info.st_mode)) {
                continue;
            }
            // Without a reader this fails at once (ENXIO), and nothing happens.
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                fired_ = true;
                ::close(fd);
            }
        }
    } while (!stop_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stopping_; }));
}
