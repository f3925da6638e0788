#pragma once
// Finding the next of a few characters in a long text, sixteen bytes at a time: the
// catalogue files are read and written byte by byte, and almost every byte is none of the
// few that matter (a tag's brackets, a character to escape). Comparing and classifying
// texts eight bytes at a time. Each function answers as the plain loop its comment
// describes (tests/core/fastpath/ByteScanTest.cpp holds those loops and checks each
// against them).

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorbix {

namespace bytescan {

using Bytes = char __attribute__((vector_size(16)));

// Sixteen bytes from p.
inline Bytes Load(const char* p)
{
    Bytes x;
    std::memcpy(&x, p, sizeof x);
    return x;
}

// A bit for each byte of a comparison's result that is all ones (a match), the first byte
// in the lowest bit. SSE2 gives it in one instruction; elsewhere it is gathered from the
// two halves, which is right on a little-endian machine only.
inline std::uint32_t MatchMask(Bytes hit)
{
#if defined(__SSE2__)
    return static_cast<std::uint32_t>(_mm_movemask_epi8(reinterpret_cast<__m128i>(hit)));
#else
    std::uint64_t halves[2];
    std::memcpy(halves, &hit, sizeof halves);
    std::uint32_t mask = 0;
    for (int h = 0; h < 2; ++h)
        for (int b = 0; b < 8; ++b)
            mask |= static_cast<std::uint32_t>((halves[h] >> (b * 8 + 7)) & 1) << (h * 8 + b);
    return mask;
#endif
}

} // namespace bytescan

// The place of the first of the characters Cs at or after from in text, or text.size().
template <char... Cs>
std::size_t FindAnyOf(std::string_view text, std::size_t from)
{
    if constexpr (std::endian::native == std::endian::little) {
        if (text.size() >= 16) {
            for (; from + 16 <= text.size(); from += 16) {
                const bytescan::Bytes x = bytescan::Load(text.data() + from);
                if (const std::uint32_t mask = bytescan::MatchMask(((x == Cs) | ...)); mask != 0)
                    return from + static_cast<std::size_t>(std::countr_zero(mask));
            }
            if (from >= text.size())
                return text.size();
            // The rest: the last sixteen bytes, less those before from.
            const std::size_t start = text.size() - 16;
            const bytescan::Bytes x = bytescan::Load(text.data() + start);
            const std::uint32_t mask = bytescan::MatchMask(((x == Cs) | ...)) >> (from - start);
            return mask != 0 ? from + static_cast<std::size_t>(std::countr_zero(mask)) : text.size();
        }
    }
    // A short text: a table lookup per byte.
    static constexpr auto kIsOne = [] {
        std::array<bool, 256> table{};
        ((table[static_cast<unsigned char>(Cs)] = true), ...);
        return table;
    }();
    while (from < text.size() && !kIsOne[static_cast<unsigned char>(text[from])])
        ++from;
    return from;
}

// How many times c stands in text.
inline std::size_t CountOf(std::string_view text, char c)
{
    std::size_t count = 0;
    std::size_t at = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; at + 16 <= text.size(); at += 16)
            count +=
                static_cast<std::size_t>(std::popcount(bytescan::MatchMask(bytescan::Load(text.data() + at) == c)));
    }
    for (; at < text.size(); ++at)
        count += text[at] == c ? 1 : 0;
    return count;
}

// The place of the first byte above 32 (not white space or a control character) at or
// after from in text, or text.size().
inline std::size_t SkipTrimmed(std::string_view text, std::size_t from)
{
    if constexpr (std::endian::native == std::endian::little) {
        using Unsigned = unsigned char __attribute__((vector_size(16)));
        for (; from + 16 <= text.size(); from += 16) {
            const auto x = reinterpret_cast<Unsigned>(bytescan::Load(text.data() + from));
            if (const std::uint32_t mask = bytescan::MatchMask(reinterpret_cast<bytescan::Bytes>(x > 32)); mask != 0)
                return from + static_cast<std::size_t>(std::countr_zero(mask));
        }
    }
    while (from < text.size() && static_cast<unsigned char>(text[from]) <= 32)
        ++from;
    return from;
}

namespace bytescan {

// Whether the first and the last words of n bytes (from one to two words) are the same.
template <typename Word>
bool SameEnds(const char* a, const char* b, std::size_t n)
{
    Word a0 = 0;
    Word b0 = 0;
    Word a1 = 0;
    Word b1 = 0;
    std::memcpy(&a0, a, sizeof a0);
    std::memcpy(&b0, b, sizeof b0);
    std::memcpy(&a1, a + n - sizeof a1, sizeof a1);
    std::memcpy(&b1, b + n - sizeof b1, sizeof b1);
    return ((a0 ^ b0) | (a1 ^ b1)) == 0;
}

} // namespace bytescan

// Whether n bytes at a and b are the same. The names of tags are mostly 4 to 16 bytes long,
// compared here in two overlapping words rather than by a call.
inline bool SameBytes(const char* a, const char* b, std::size_t n)
{
    if (n >= 8 && n <= 16)
        return bytescan::SameEnds<std::uint64_t>(a, b, n);
    if (n >= 4 && n < 8)
        return bytescan::SameEnds<std::uint32_t>(a, b, n);
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
        for (; from + 15 <= last; from += 16) {
            const bytescan::Bytes head = bytescan::Load(text.data() + from);
            const bytescan::Bytes tail = bytescan::Load(text.data() + from + n - 1);
            for (std::uint32_t mask = bytescan::MatchMask((head == needle.front()) & (tail == needle.back()));
                 mask != 0; mask &= mask - 1) {
                const std::size_t at = from + static_cast<std::size_t>(std::countr_zero(mask));
                if (SameBytes(text.data() + at + 1, needle.data() + 1, n - 2))
                    return at;
            }
        }
    }
    for (; from <= last; ++from)
        if (text[from] == needle.front() && std::memcmp(text.data() + from + 1, needle.data() + 1, n - 1) == 0)
            return from;
    return text.size();
}

// Whether every byte of text is ASCII (below 0x80), eight bytes at a time.
inline bool IsAscii(std::string_view text)
{
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & 0x8080808080808080ULL) != 0)
            return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

// The number of leading bytes two texts share, eight at a time.
inline std::size_t SharedPrefixLength(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t shared = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; shared + 8 <= common; shared += 8) {
            std::uint64_t x;
            std::uint64_t y;
            std::memcpy(&x, a.data() + shared, 8);
            std::memcpy(&y, b.data() + shared, 8);
            if (x != y) // the first differing byte is the lowest
                return shared + static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
        }
    }
    while (shared < common && a[shared] == b[shared])
        ++shared;
    return shared;
}

} // namespace vorbix
