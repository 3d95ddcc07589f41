#pragma once

#include <sys/stat.h>

#include <cstdint>

namespace fw {

// Which file a name led to, and in which state, as one look at it tells: its device, inode,
// size, and the times of its last write and last change. Cheap, and no proof of the same bytes:
// the times move in ticks of the file system's clock, so a rewrite of the same length within
// one tick of the write before it goes unseen.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;

    static FileIdentity Of(const struct stat& info) noexcept {
#if defined(__APPLE__)
        const struct timespec& modified = info.st_mtimespec;
        const struct timespec& changed = info.st_ctimespec;
#else
        const struct timespec& modified = info.st_mtim;
        const struct timespec& changed = info.st_ctim;
#endif
        constexpr int64_t kNs = 1'000'000'000;
        return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                static_cast<int64_t>(info.st_size),
                static_cast<int64_t>(modified.tv_sec) * kNs + modified.tv_nsec,
                static_cast<int64_t>(changed.tv_sec) * kNs + changed.tv_nsec};
    }

    bool operator==(const FileIdentity&) const = default;
};

}  // namespace fw
