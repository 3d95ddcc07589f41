#include "fw/core/ProgramName.h"

#include <cerrno>
#include <cstdlib>

namespace fw {

const char* ProgramName() noexcept {
#if defined(__APPLE__)
    return ::getprogname();
#else
    // glibc keeps the last component of argv[0] from before main.
    return program_invocation_short_name;
#endif
}

}  // namespace fw
