#include "fw/PictureBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "fw/detail/Descriptor.h"

namespace fw {
namespace {

using detail::Descriptor;

PictureBytes Refused(PictureRefusal refusal) {
    return PictureBytes{{}, refusal};
}

PictureRefusal OpenFailure(int error) {
    return error == ENOENT || error == ENOTDIR ? PictureRefusal::kMissing
                                               : PictureRefusal::kUnreadable;
}

}  // namespace

PictureBytes ReadPictureBytes(const std::string& path) {
    // A first look by name spares a device the open itself (some act on being opened); the
    // descriptor's own type below is what decides.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return Refused(OpenFailure(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return Refused(PictureRefusal::kNotRegularFile);
    }
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0) {
        return Refused(OpenFailure(errno));
    }
    if (::fstat(file.Get(), &info) != 0) {
        return Refused(PictureRefusal::kUnreadable);
    }
    if (!S_ISREG(info.st_mode)) {
        return Refused(PictureRefusal::kNotRegularFile);
    }
    if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > kMaxPictureFileBytes) {
        return Refused(PictureRefusal::kOverByteCap);
    }
    // One byte more than the size told, to notice a file that grew since; a file that grows past
    // the cap is refused as one that was that long already.
    std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size) + 1);
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(file.Get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Refused(PictureRefusal::kUnreadable);
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
        if (got == bytes.size() && got <= kMaxPictureFileBytes) {
            bytes.resize(kMaxPictureFileBytes + 1);
        }
    }
    if (got > kMaxPictureFileBytes) {
        return Refused(PictureRefusal::kOverByteCap);
    }
    bytes.resize(got);
    return PictureBytes{std::move(bytes), PictureRefusal::kNone};
}

}  // namespace fw
