#pragma once
// Memory for the large temporary buffers of the reports and the list (tens of megabytes
// for a catalogue of 100,000 programs). Buffers of 2 MiB and more are asked for in whole
// 2 MiB pages where the system offers them (transparent huge pages on request): each small
// page costs a fault when first written, and on a virtual machine that fault can cost as
// much as writing the page itself several times over.

#include <cstddef>
#include <memory>
#include <string>

namespace vorbix {

// Memory of at least size bytes; released with FreeLargeBuffer(p, size).
void* AllocateLargeBuffer(std::size_t size);
void FreeLargeBuffer(void* p, std::size_t size) noexcept;

// Asks the system to back a large buffer (a text of many megabytes) with large pages where
// it has them: one fault per 2 MB instead of per 4 KB as it fills. Only the whole large
// pages inside a buffer of more than 32 MB are affected. Asked only where the benchmarks
// show a user would notice: at 100,000 programs the save's text and the programs report's
// text (with the large buffers above, 12-20% of the save's and the report's time); the
// load's record list and the links report's text gained nothing measurable.
void AdviseLargePages(const void* data, std::size_t size);

// Owns one large buffer.
struct LargeBufferDeleter {
    std::size_t size = 0;
    void operator()(char* p) const noexcept { FreeLargeBuffer(p, size); }
};
using LargeBlock = std::unique_ptr<char[], LargeBufferDeleter>;
inline LargeBlock NewLargeBlock(std::size_t size)
{
    return LargeBlock(static_cast<char*>(AllocateLargeBuffer(size)), LargeBufferDeleter{size});
}

// An allocator for std::vector that takes large buffers through AllocateLargeBuffer.
template <typename T>
struct LargeBufferAllocator {
    using value_type = T;
    LargeBufferAllocator() = default;
    // Implicit, as the standard containers rebind an allocator by conversion.
    template <typename U>
    // cppcheck-suppress noExplicitConstructor
    LargeBufferAllocator(const LargeBufferAllocator<U>&) noexcept
    {}
    T* allocate(std::size_t n) { return static_cast<T*>(AllocateLargeBuffer(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { FreeLargeBuffer(p, n * sizeof(T)); }
    template <typename U>
    bool operator==(const LargeBufferAllocator<U>&) const noexcept
    {
        return true;
    }
};

// A text in large buffers, for texts of many megabytes built once.
using LargeText = std::basic_string<char, std::char_traits<char>, LargeBufferAllocator<char>>;

} // namespace vorbix
