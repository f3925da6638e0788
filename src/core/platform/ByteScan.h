#pragma once
// Finding the next of a few characters in a long text, sixteen bytes at a time: the
// catalogue files are read and written byte by byte, and almost every byte is none of the
// few that matter (a tag's brackets, a character to escape).

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vorbix {

// The place of the first of the characters Cs at or after from in text, or text.size().
template <char... Cs>
std::size_t FindAnyOf(std::string_view text, std::size_t from)
{
    if constexpr (std::endian::native == std::endian::little) {
        using Bytes = char __attribute__((vector_size(16)));
        for (; from + sizeof(Bytes) <= text.size(); from += sizeof(Bytes)) {
            Bytes x;
            std::memcpy(&x, text.data() + from, sizeof x);
            const Bytes hit = ((x == Cs) | ...);
            std::uint64_t halves[2];
            std::memcpy(halves, &hit, sizeof halves);
            // Each byte that matched is all ones; the lowest is the first in the text.
            if (halves[0] != 0)
                return from + static_cast<std::size_t>(std::countr_zero(halves[0]) / 8);
            if (halves[1] != 0)
                return from + 8 + static_cast<std::size_t>(std::countr_zero(halves[1]) / 8);
        }
    }
    while (from < text.size() && ((text[from] != Cs) && ...))
        ++from;
    return from;
}

} // namespace vorbix
