#pragma once

#include <cstdint>

// The memory the process holds, in bytes, for tests that watch it over a long run: the resident
// set from /proc/self/statm (-1 when it cannot be read). Under AddressSanitizer, whose
// quarantine and shadow memory make the resident set meaningless, it is instead the bytes that
// the sanitizer's allocator has handed out and not taken back, the quarantine left out.
int64_t MemoryInUse();

// What MemoryInUse measures in this build, for the figures a test prints.
const char* MemoryInUseName();

// The highest resident set of the process, in bytes, since the last ResetPeakResident (since its
// start before the first), for tests that bound what a short burst of work may take at once.
// Under AddressSanitizer, whose quarantine keeps freed memory resident, it is -1, as it is when
// the kernel does not tell.
void ResetPeakResident();
int64_t PeakResident();
