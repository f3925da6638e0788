#pragma once
// Checksum lists: what other programs say each image file is. MAME's software lists
// (<softwarelist><software><description><year><publisher><part><dataarea><rom .../>) and
// Logiqx DAT files, as TOSEC and No-Intro write them (<datafile><game name=...><rom .../>),
// give a size, a CRC-32 and a SHA-1 for each file with a title and a publisher.

#include "host/Result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorbix {

using Sha1Digest = std::array<std::uint8_t, 20>;

struct ChecksumEntry {
    std::string Name; // MAME's description, or the DAT's game name read as a TOSEC name
    std::string Publisher; // empty when the list does not say
    std::string Year; // MAME lists only; empty otherwise
    std::string List; // the list's file name, for the preview
    std::uint64_t Size = 0;
    std::uint32_t Crc = 0;
    Sha1Digest Sha1{};
    bool HasSha1 = false;
};

// The entries of every list read, looked up by size and CRC-32.
class ChecksumLists {
public:
    // Reads the list at path and adds its entries; a file that cannot be read, that is no
    // XML or neither kind of list, is refused with a message naming it, and nothing of it
    // is added. Entries without a size or a CRC-32 (MAME's "nodump") are left out.
    Status AddFile(const std::string& path);
    // The same for a list's bytes, the file's name given for the entries' List.
    Status AddText(std::string_view document, const std::string& listName);

    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    const ChecksumEntry& operator[](std::size_t index) const { return entries_[index]; }
    // The entries with this size and CRC-32, first read first.
    std::vector<std::size_t> Find(std::uint64_t size, std::uint32_t crc) const;
    // The distinct sizes of all entries, smallest first.
    std::vector<std::uint64_t> Sizes() const;
    // The lists read, by file name, with the count of entries each gave.
    struct ListFile {
        std::string Name;
        std::size_t Entries = 0;
    };
    const std::vector<ListFile>& Files() const { return files_; }

private:
    static std::uint64_t Key(std::uint64_t size, std::uint32_t crc) { return (size << 32) ^ crc; }

    std::vector<ChecksumEntry> entries_;
    std::unordered_multimap<std::uint64_t, std::size_t> byKey_;
    std::vector<ListFile> files_;
};

// The MAME software lists for BBC Micro machines that MAME's data package installs
// ("bbc*.xml" in folder), sorted by name; none when the folder is missing.
std::vector<std::string> InstalledMameLists(const std::string& folder = "/usr/share/games/mame/hash/");

// The parsed forms, for the readers and the tests.
bool ParseHex(std::string_view text, std::uint32_t& crc);
bool ParseSha1(std::string_view text, Sha1Digest& digest);

} // namespace vorbix
