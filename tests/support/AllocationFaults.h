#pragma once

// Every test binary's operator new counts the allocations made on each thread, so that a test
// can make one of them fail as it would for want of memory: with std::bad_alloc, or null from
// the nothrow forms. Other threads allocate as usual.
namespace karuta_test {

// Makes the (skip + 1)-th allocation through operator new on the calling thread, from now,
// fail, once.
void FailAllocation(int skip);
// Whether the allocation armed by FailAllocation is still to fail on the calling thread.
bool AllocationFailurePending();
// Lets every allocation on the calling thread through again.
void StopFailingAllocations();

}  // namespace karuta_test
