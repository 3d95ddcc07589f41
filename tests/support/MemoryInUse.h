#pragma once

#include <cstdint>

// The memory the process holds, in bytes, for tests that watch it over a long run: the resident
// set from /proc/self/statm (-1 when it cannot be read). Under AddressSanitizer, whose
// quarantine and shadow memory make the resident set meaningless, it is instead the bytes that
// the sanitizer's allocator has handed out and not taken back, the quarantine left out.
int64_t MemoryInUse();

// What MemoryInUse measures in this build, for the figures a test prints.
const char* MemoryInUseName();
