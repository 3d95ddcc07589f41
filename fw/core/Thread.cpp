#include "fw/core/Thread.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <thread>

#include "fw/core/Exceptions.h"

namespace fw {
namespace {

// Before a QApplication exists, the first thread that asks stands for the UI thread.
std::thread::id FirstAskingThread() {
    static const std::thread::id first = std::this_thread::get_id();
    return first;
}

}  // namespace

bool IsUIThread() noexcept {
    if (auto* app = QCoreApplication::instance()) {
        return QThread::currentThread() == app->thread();
    }
    return std::this_thread::get_id() == FirstAskingThread();
}

void CheckUIThread() {
    if (!IsUIThread()) {
        throw ThreadAccessingUIException();
    }
}

}  // namespace fw
