#include "fw/pictures/RefusedFiles.h"

#include <sys/stat.h>

#include <functional>
#include <map>
#include <new>

namespace fw {
namespace {

struct Refusal {
    FileIdentity file;
    PictureLimits limits;
    PictureRefusal refusal;
};

// One entry for each file name the program has asked for and been refused, as many as the
// picture files it names.
std::map<std::string, Refusal, std::less<>>& Refusals() {
    static std::map<std::string, Refusal, std::less<>> refusals;
    return refusals;
}

}  // namespace

std::optional<PictureRefusal> StillRefused(const std::string& path,
                                           const PictureLimits& limits) noexcept {
    const auto it = Refusals().find(path);
    if (it == Refusals().end() || !(limits == it->second.limits)) {
        return std::nullopt;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !(FileIdentity::Of(info) == it->second.file)) {
        return std::nullopt;
    }
    return it->second.refusal;
}

void RememberRefusal(const std::string& path, const FileIdentity& file, const PictureLimits& limits,
                     PictureRefusal refusal) noexcept {
    if (refusal == PictureRefusal::kUnreadable || refusal == PictureRefusal::kOutOfMemory) {
        return;  // the same file may load at the next try, once it can be read or memory is back
    }
    try {
        Refusals().insert_or_assign(path, Refusal{file, limits, refusal});
    } catch (const std::bad_alloc&) {
        // Not remembered: the file is read again next time, as if it had changed.
    }
}

void ForgetRefusal(const std::string& path) noexcept {
    Refusals().erase(path);
}

}  // namespace fw
