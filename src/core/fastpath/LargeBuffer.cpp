#include "fastpath/LargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace vorbix {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

bool Large(std::size_t size)
{
    return size >= kHugePage;
}

std::size_t Rounded(std::size_t size)
{
    return (size + kHugePage - 1) / kHugePage * kHugePage;
}

} // namespace

void* AllocateLargeBuffer(std::size_t size)
{
    if (!Large(size))
        return ::operator new(size);
    void* p = ::operator new (Rounded(size), std::align_val_t{kHugePage});
    // Only advice: where huge pages are not offered the memory is ordinary memory.
    ::madvise(p, Rounded(size), MADV_HUGEPAGE);
    return p;
}

void FreeLargeBuffer(void* p, std::size_t size) noexcept
{
    if (!Large(size))
        ::operator delete(p);
    else
        ::operator delete (p, std::align_val_t{kHugePage});
}

void AdviseLargePages(const void* data, std::size_t size)
{
    // Only a block larger than the C library's largest threshold for serving blocks from
    // mappings of their own (32 MB): the advice then ends with the block, and never reaches
    // the memory the library hands out afterwards.
    constexpr std::size_t kOwnMapping = std::size_t{32} << 20;
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = (start + size) & ~(kLargePage - 1);
    if (size > kOwnMapping && last > first)
        // The page-aligned start is computed as an integer; the cast back is the point.
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE); // NOLINT(performance-no-int-to-ptr)
}

} // namespace vorbix
