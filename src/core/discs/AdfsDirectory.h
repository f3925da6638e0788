#pragma once
// An Acorn ADFS disc with the old map (S, M and L discs): the free-space map in sectors 0
// and 1 gives the disc's size and boot option, and the root directory ("Hugo" at its start
// and end) in sectors 2 to 6 its names. Read from the bytes given only.

#include "host/Result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix {

inline constexpr std::size_t kAdfsSectorBytes = 256;
inline constexpr std::size_t kAdfsRootSector = 2;
inline constexpr std::size_t kAdfsDirectoryBytes = 5 * kAdfsSectorBytes;
// The map and the root directory: what the reader needs of an image.
inline constexpr std::size_t kAdfsHeadBytes = kAdfsRootSector * kAdfsSectorBytes + kAdfsDirectoryBytes;
inline constexpr std::size_t kAdfsSectorsPerTrack = 16;

struct AdfsEntry {
    std::string Name; // up to 10 characters
    std::string Access; // the letters of D (directory), L (locked), E, W, R that are set, in that order
    bool Directory = false;
    unsigned Load = 0;
    unsigned Exec = 0;
    unsigned Length = 0;
    unsigned StartSector = 0; // 24 bits

    bool operator==(const AdfsEntry&) const = default;
};

struct AdfsDisc {
    unsigned TotalSectors = 0;
    int BootOption = 0;
    std::string Title; // the root directory's title
    std::vector<AdfsEntry> Root;

    bool operator==(const AdfsDisc&) const = default;
};

// The disc whose first bytes (at least kAdfsHeadBytes) are head. A failure says in one line
// why it is no ADFS disc or does not make sense: too short, no "Hugo" at either end of the
// root directory, a disc smaller than its map and root, a name with control characters, an
// entry that starts in the map or root or runs past the disc's last sector.
Result<AdfsDisc> ReadAdfsDisc(std::string_view head);

} // namespace vorbix
