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

// The place of the first byte above 32 (not white space or a control character) at or
// after from in text, or text.size().
inline std::size_t SkipTrimmed(std::string_view text, std::size_t from)
{
    if constexpr (std::endian::native == std::endian::little) {
        using Bytes = unsigned char __attribute__((vector_size(16)));
        for (; from + sizeof(Bytes) <= text.size(); from += sizeof(Bytes)) {
            Bytes x;
            std::memcpy(&x, text.data() + from, sizeof x);
            const auto hit = x > 32;
            std::uint64_t halves[2];
            std::memcpy(halves, &hit, sizeof halves);
            if (halves[0] != 0)
                return from + static_cast<std::size_t>(std::countr_zero(halves[0]) / 8);
            if (halves[1] != 0)
                return from + 8 + static_cast<std::size_t>(std::countr_zero(halves[1]) / 8);
        }
    }
    while (from < text.size() && static_cast<unsigned char>(text[from]) <= 32)
        ++from;
    return from;
}

// Whether n bytes at a and b are the same. The names of tags are mostly 6 to 16 bytes long,
// compared here in two words rather than by a call.
inline bool SameBytes(const char* a, const char* b, std::size_t n)
{
    if (n >= 8 && n <= 16) {
        std::uint64_t a0 = 0;
        std::uint64_t b0 = 0;
        std::uint64_t a1 = 0;
        std::uint64_t b1 = 0;
        std::memcpy(&a0, a, 8);
        std::memcpy(&b0, b, 8);
        std::memcpy(&a1, a + n - 8, 8);
        std::memcpy(&b1, b + n - 8, 8);
        return ((a0 ^ b0) | (a1 ^ b1)) == 0;
    }
    return std::memcmp(a, b, n) == 0;
}

// The place of the first whole needle (of at least two bytes) at or after from in text, or
// text.size(). Sixteen places are tried at once for the needle's first and last bytes, and
// only where both match is the rest compared: in a text of tags, where the first byte is
// a common '<', few places pass both.
inline std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from)
{
    const std::size_t n = needle.size();
    if (n < 2 || text.size() < n)
        return text.size();
    const std::size_t last = text.size() - n; // the last place a needle can start
    if constexpr (std::endian::native == std::endian::little) {
        using Bytes = char __attribute__((vector_size(16)));
        for (; from + sizeof(Bytes) - 1 <= last; from += sizeof(Bytes)) {
            Bytes head;
            Bytes tail;
            std::memcpy(&head, text.data() + from, sizeof head);
            std::memcpy(&tail, text.data() + from + n - 1, sizeof tail);
            const Bytes hit = (head == needle.front()) & (tail == needle.back());
            std::uint64_t halves[2];
            std::memcpy(halves, &hit, sizeof halves);
            for (int h = 0; h < 2; ++h) {
                // Each place where both match is a byte of all ones.
                for (std::uint64_t bits = halves[h]; bits != 0;) {
                    const int byte = std::countr_zero(bits) / 8;
                    const std::size_t at = from + static_cast<std::size_t>(h * 8 + byte);
                    if (SameBytes(text.data() + at + 1, needle.data() + 1, n - 2))
                        return at;
                    bits &= ~(std::uint64_t{0xff} << (byte * 8));
                }
            }
        }
    }
    for (; from <= last; ++from)
        if (text[from] == needle.front() && std::memcmp(text.data() + from + 1, needle.data() + 1, n - 1) == 0)
            return from;
    return text.size();
}

} // namespace vorbix
