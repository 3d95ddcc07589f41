#include "fw/runtime/FileType.h"

#include "fw/runtime/Runtime.h"

namespace fw {

std::string FileType::ToString() {
    if (!registered_) {
        RuntimeRegisterFileType(name_, macCreator_, macType_, extensions_, uti_);
        registered_ = true;
    }
    return name_;
}

}  // namespace fw
