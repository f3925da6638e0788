#include "collection/ImageMatching.h"

#include "discs/DfsCatalogue.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <string>

namespace vorbix {

namespace {

// A DFS disc has at most 1023 sectors (ten bits); no padded copy of one is larger.
constexpr std::uint64_t kLargestDfsDisc = 1024ull * kDfsSectorBytes;

std::uint32_t CrcOfZeros(std::uint64_t count)
{
    // The CRC-32 of 2^k zero bytes, built once; any count is combined from its bits.
    static const std::array<std::uint32_t, 64> kPowers = [] {
        std::array<std::uint32_t, 64> powers{};
        const unsigned char zero = 0;
        powers[0] = static_cast<std::uint32_t>(::crc32_z(0, &zero, 1));
        for (std::size_t k = 1; k < 62; ++k) {
            const auto half = static_cast<z_off64_t>(1ll << (k - 1));
            powers[k] = static_cast<std::uint32_t>(::crc32_combine64(powers[k - 1], powers[k - 1], half));
        }
        return powers;
    }();
    std::uint32_t crc = 0;
    for (std::size_t k = 0; k < 62 && count >> k != 0; ++k)
        if ((count >> k) & 1u)
            crc = static_cast<std::uint32_t>(::crc32_combine64(crc, kPowers[k], static_cast<z_off64_t>(1ll << k)));
    return crc;
}

bool Sha1Confirms(const ChecksumEntry& entry, std::string_view bytes)
{
    return !entry.HasSha1 || Sha1Of(bytes) == entry.Sha1;
}

// The index of the last byte that is not zero, plus one (0 for all zeros).
std::size_t BytesBeforeZeros(std::string_view bytes)
{
    std::size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0')
        --end;
    return end;
}

std::optional<ListMatch> ExactMatch(const ChecksumLists& lists, std::string_view image, std::uint32_t crc)
{
    for (std::size_t index : lists.Find(image.size(), crc))
        if (Sha1Confirms(lists[index], image))
            return ListMatch{index, false};
    return std::nullopt;
}

// Tries each listed size that keeps every byte the disc uses and every byte that is not zero.
std::optional<ListMatch> ContentMatch(const ChecksumLists& lists, const std::vector<std::uint64_t>& sizes,
    std::string_view image, std::uint32_t wholeCrc)
{
    const std::optional<std::size_t> used = DfsUsedBytes(image);
    if (!used)
        return std::nullopt;
    const std::uint64_t smallest = std::max<std::uint64_t>(*used, BytesBeforeZeros(image));
    std::uint32_t runningCrc = 0;
    std::size_t crcDoneTo = 0;
    for (std::uint64_t size : sizes) {
        if (size < smallest || size == image.size() || size > kLargestDfsDisc)
            continue;
        std::uint32_t crc = 0;
        if (size < image.size()) {
            // The sizes come smallest first, so the CRC of a shorter cut goes on to the next.
            runningCrc = static_cast<std::uint32_t>(
                ::crc32_z(runningCrc, reinterpret_cast<const unsigned char*>(image.data()) + crcDoneTo,
                    static_cast<std::size_t>(size) - crcDoneTo));
            crcDoneTo = static_cast<std::size_t>(size);
            crc = runningCrc;
        } else {
            crc = static_cast<std::uint32_t>(::crc32_combine64(wholeCrc, CrcOfZeros(size - image.size()),
                static_cast<z_off64_t>(size - image.size())));
        }
        const std::vector<std::size_t> candidates = lists.Find(size, crc);
        if (candidates.empty())
            continue;
        // The disc as the entry holds it: the image cut or padded with zeros to its size.
        std::string content(image.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(size, image.size()))));
        content.resize(static_cast<std::size_t>(size), '\0');
        const Sha1Digest digest = Sha1Of(content);
        for (std::size_t index : candidates)
            if (!lists[index].HasSha1 || lists[index].Sha1 == digest)
                return ListMatch{index, true};
    }
    return std::nullopt;
}

} // namespace

std::uint32_t Crc32Of(std::string_view bytes)
{
    return static_cast<std::uint32_t>(::crc32_z(0, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

std::uint32_t Crc32WithZeros(std::uint32_t crc, std::uint64_t count)
{
    return static_cast<std::uint32_t>(::crc32_combine64(crc, CrcOfZeros(count), static_cast<z_off64_t>(count)));
}

Sha1Digest Sha1Of(std::string_view bytes)
{
    Sha1Digest digest{};
    unsigned int length = 0;
    // cppcheck-suppress invalidLifetime ; the bytes are read before this returns, while the caller's string lives
    ::EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, ::EVP_sha1(), nullptr);
    return digest;
}

std::optional<std::size_t> DfsUsedBytes(std::string_view image)
{
    const Result<DfsCatalogueContents> catalogue = ReadDfsCatalogue(image);
    if (!catalogue)
        return std::nullopt;
    // A Watford disc's second catalogue takes sectors 2 and 3.
    std::size_t endSector = catalogue.Value().Watford ? 4 : 2;
    for (const DfsFileEntry& file : catalogue.Value().Files)
        endSector = std::max<std::size_t>(endSector, file.StartSector + (file.Length + 255) / 256);
    return endSector * kDfsSectorBytes;
}

std::optional<ListMatch> MatchInLists(const ChecksumLists& lists, const std::vector<std::uint64_t>& sizes,
    std::string_view image, bool mayBeDfs)
{
    const std::uint32_t crc = Crc32Of(image);
    if (auto exact = ExactMatch(lists, image, crc))
        return exact;
    if (!mayBeDfs || image.size() > kLargestDfsDisc)
        return std::nullopt;
    return ContentMatch(lists, sizes, image, crc);
}

} // namespace vorbix
