#pragma once
// Telling what an image file is from the checksum lists: an exact match by size and CRC-32,
// confirmed by SHA-1, or, for a DFS disc, a match by content, which sets padding aside.
// Copies of one disc often differ only there: an .ssd cut after the last sector its
// catalogue uses, or padded with zeros to 100 or 200 KB.

#include "collection/ChecksumLists.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vorbix {

std::uint32_t Crc32Of(std::string_view bytes);
Sha1Digest Sha1Of(std::string_view bytes);
// The CRC-32 of the bytes whose CRC-32 is crc followed by count zero bytes.
std::uint32_t Crc32WithZeros(std::uint32_t crc, std::uint64_t count);

// The bytes of a single-sided DFS disc image that its catalogue uses: up to the end of the
// last sector any file occupies, and at least the catalogue. Empty when the image's first
// two sectors are no DFS catalogue.
std::optional<std::size_t> DfsUsedBytes(std::string_view image);

struct ListMatch {
    std::size_t Entry = 0; // in the lists
    bool ByContent = false; // the same disc with other padding
};

// What the lists say the image is. The exact match comes first; without one, an image that
// may be a DFS disc matches an entry whose size covers the disc's used bytes and whose
// CRC-32 and SHA-1 are those of the image cut or padded with zeros to that size, when the
// bytes cut are zeros. The lists' distinct sizes (ChecksumLists::Sizes) are passed in so
// that many images share them.
std::optional<ListMatch> MatchInLists(const ChecksumLists& lists, const std::vector<std::uint64_t>& sizes,
    std::string_view image, bool mayBeDfs);

} // namespace vorbix
