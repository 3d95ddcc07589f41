#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Keeps a test that meets named pipes from hanging when the code under test blocks on one: once
// patience has run out, and until the watchdog is destroyed, it opens the write end of each of
// the paths that is a pipe, now and then, and closes it again, which lets a reader stuck in open
// or read go on (to an empty file). Opening the write end without waiting succeeds only while a
// reader has the pipe open, so Fired tells the test that the code held a pipe open: a fault in
// itself.
class PipeWatchdog {
public:
    PipeWatchdog(QStringList paths, std::chrono::milliseconds patience);
    PipeWatchdog(const PipeWatchdog&) = delete;
    PipeWatchdog& operator=(const PipeWatchdog&) = delete;
    ~PipeWatchdog();

    bool Fired();

private:
    void Watch(std::chrono::milliseconds patience);

    const QStringList paths_;
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    bool fired_ = false;
    std::thread thread_;
};
