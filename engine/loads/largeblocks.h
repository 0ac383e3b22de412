#pragma once

// The allocator of the batch's table of records: a record per load case, several kilobytes
// each, so tens of megabytes for a plant's export. A block of 2 MB or more is asked to be
// backed by huge pages: filling it then takes a page fault every 2 MB instead of every 4 KB,
// and on a virtual machine a fault costs about as much as computing a case.

#include <cstddef>

namespace tarvel {

void* allocateLarge(std::size_t bytes);
void releaseLarge(void* block, std::size_t bytes) noexcept;

template <class T> struct LargeBlockAllocator {
    using value_type = T;
    LargeBlockAllocator() = default;
    template <class U> LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(allocateLarge(n * sizeof(T))); }
    void deallocate(T* block, std::size_t n) noexcept { releaseLarge(block, n * sizeof(T)); }
    friend bool operator==(const LargeBlockAllocator&, const LargeBlockAllocator&) { return true; }
};

} // namespace tarvel
