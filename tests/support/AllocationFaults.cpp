#include "tests/support/AllocationFaults.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace karuta_test {
namespace {

// Allocations still to let through before one fails; below zero, none is to fail.
constinit thread_local int allocationsBeforeFailure = -1;

void* Allocate(std::size_t size) {
    if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0) {
        throw std::bad_alloc();
    }
    for (;;) {
        if (void* p = std::malloc(size == 0 ? 1 : size)) {
            return p;
        }
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) {
            throw std::bad_alloc();
        }
        handler();
    }
}

void* AllocateOrNull(std::size_t size) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

void FailAllocation(int skip) {
    allocationsBeforeFailure = skip;
}

bool AllocationFailurePending() {
    return allocationsBeforeFailure >= 0;
}

void StopFailingAllocations() {
    allocationsBeforeFailure = -1;
}

}  // namespace karuta_test

// Every form that allocates or frees without a stated alignment is replaced, so that what one
// form allocates any other frees (the sanitizers check that they match). The aligned forms stay
// the library's.
void* operator new(std::size_t size) {
    return karuta_test::Allocate(size);
}
void* operator new[](std::size_t size) {
    return karuta_test::Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return karuta_test::AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return karuta_test::AllocateOrNull(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
