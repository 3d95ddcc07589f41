#include "tests/support/MemoryInUse.h"

#include <unistd.h>

#include <cstddef>
#include <fstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define KARUTA_UNDER_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KARUTA_UNDER_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef KARUTA_UNDER_ADDRESS_SANITIZER
// Part of the sanitizer runtime; declared here since not every compiler ships its header.
extern "C" size_t __sanitizer_get_current_allocated_bytes();

int64_t MemoryInUse() {
    return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes());
}

const char* MemoryInUseName() {
    return "live heap";
}

void ResetPeakResident() {}

int64_t PeakResident() {
    return -1;
}
#else
int64_t MemoryInUse() {
    // statm: total program size, then the resident set, both in pages.
    std::ifstream statm("/proc/self/statm");
    int64_t size = 0;
    int64_t resident = 0;
    if (!(statm >> size >> resident)) {
        return -1;
    }
    return resident * static_cast<int64_t>(sysconf(_SC_PAGESIZE));
}

const char* MemoryInUseName() {
    return "resident memory";
}

void ResetPeakResident() {
    // Writing 5 to clear_refs sets the high-water mark back to the resident set of now.
    std::ofstream("/proc/self/clear_refs") << "5";
}

int64_t PeakResident() {
    std::ifstream status("/proc/self/status");
    std::string key;
    int64_t kilobytes = 0;
    while (status >> key) {
        if (key == "VmHWM:" && status >> kilobytes) {
            return kilobytes * 1024;
        }
    }
    return -1;
}
#endif
