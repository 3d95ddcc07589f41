#include "fw/core/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "fw/core/Descriptor.h"

namespace fw {
namespace {

using detail::Descriptor;

FileReadFailure OpenFailure(int error) {
    return error == ENOENT || error == ENOTDIR ? FileReadFailure::kMissing
                                               : FileReadFailure::kUnreadable;
}

// Opens for reading the file that place points at, and that file only: not the name, which may
// lead to another file by now.
int OpenForReading(const Descriptor& place) {
#if defined(O_PATH)
    return ::open(("/proc/self/fd/" + std::to_string(place.Get())).c_str(),
                  O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
#else
    return ::dup(place.Get());  // opened for reading already
#endif
}

// Reads file to its end, refusing it once it is longer than maxBytes. size is what the file
// said it held; it may have grown since.
FileBytes ReadWhole(const Descriptor& file, size_t size, size_t maxBytes) {
    // One byte more than the size told, to notice a file that grew since; a file that grows past
    // the cap is refused as one that was that long already.
    std::vector<uint8_t> bytes(size + 1);
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(file.Get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {{}, FileReadFailure::kUnreadable, {}};
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
        if (got == bytes.size() && got <= maxBytes) {
            bytes.resize(maxBytes + 1);
        }
    }
    if (got > maxBytes) {
        return {{}, FileReadFailure::kOverByteCap, {}};
    }
    bytes.resize(got);
    return {std::move(bytes), FileReadFailure::kNone, {}};
}

}  // namespace

FileBytes ReadRegularFile(const std::string& path, size_t maxBytes) {
    FileBytes result;
#if defined(O_PATH)
    // Points at whatever the name leads to, links followed, without opening it: a device or a
    // pipe is not told of it.
    const Descriptor place(::open(path.c_str(), O_PATH | O_CLOEXEC));
#else
    const Descriptor place(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
#endif
    struct stat info {};
    if (place.Get() < 0) {
        result.failure = OpenFailure(errno);
        return result;
    }
    if (::fstat(place.Get(), &info) != 0) {
        result.failure = FileReadFailure::kUnreadable;
        return result;
    }
    result.identity = FileIdentity::Of(info);
    if (!S_ISREG(info.st_mode)) {
        result.failure = FileReadFailure::kNotRegularFile;
        return result;
    }
    if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > maxBytes) {
        result.failure = FileReadFailure::kOverByteCap;
        return result;
    }
    const Descriptor file(OpenForReading(place));
    struct stat opened {};
    if (file.Get() < 0 || ::fstat(file.Get(), &opened) != 0) {
        result.failure = FileReadFailure::kUnreadable;
        return result;
    }
    if (opened.st_dev != info.st_dev || opened.st_ino != info.st_ino) {
        result.failure = FileReadFailure::kNotRegularFile;  // not the file looked at
        return result;
    }
    FileBytes read = ReadWhole(file, static_cast<size_t>(info.st_size), maxBytes);
    read.identity = result.identity;
    return read;
}

}  // namespace fw
