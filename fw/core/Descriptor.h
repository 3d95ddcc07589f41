#pragma once

#include <unistd.h>

namespace fw::detail {

// An open file descriptor, closed when this goes; a negative one (a failed open) is held as it
// is and closes nothing.
class Descriptor {
public:
    explicit Descriptor(int fd) noexcept : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const noexcept { return fd_; }

private:
    int fd_;
};

}  // namespace fw::detail
