#include "loads/largeblocks.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace tarvel {

namespace {

constexpr std::size_t hugePage = std::size_t{2} << 20;

std::size_t rounded(std::size_t bytes) {
    return (bytes + hugePage - 1) / hugePage * hugePage;
}

} // namespace

void* allocateLarge(std::size_t bytes) {
    if (bytes < hugePage) return ::operator new(bytes);
    // Mapped with a huge page's worth to spare, then trimmed to a block that starts on one.
    const std::size_t size = rounded(bytes);
    void* mapped =
        mmap(nullptr, size + hugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + hugePage - 1) / hugePage * hugePage;
    if (aligned > start) munmap(mapped, aligned - start);
    if (const std::size_t tail = start + hugePage - aligned)
        munmap(reinterpret_cast<void*>(aligned + size), tail);
    void* block = reinterpret_cast<void*>(aligned);
    // Only advice: where huge pages are off the block is ordinary memory.
    madvise(block, size, MADV_HUGEPAGE);
    return block;
}

void releaseLarge(void* block, std::size_t bytes) noexcept {
    if (bytes < hugePage)
        ::operator delete(block);
    else
        munmap(block, rounded(bytes));
}

} // namespace tarvel
