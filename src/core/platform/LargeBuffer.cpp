#include "platform/LargeBuffer.h"

#include <sys/mman.h>

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

} // namespace vorbix
