#pragma once
// The catalogue of an Acorn DFS disc image: its first two sectors hold the title, the boot
// option, the disc's size in sectors and up to 31 file entries; a Watford DDFS disc holds a
// second catalogue of 31 more in sectors 2 and 3. Read from the bytes given only; a
// catalogue that does not make sense is no catalogue.

#include "host/Result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix {

inline constexpr std::size_t kDfsSectorBytes = 256;
inline constexpr std::size_t kDfsCatalogueBytes = 2 * kDfsSectorBytes;
// Both catalogues of a Watford DDFS disc.
inline constexpr std::size_t kWatfordCatalogueBytes = 4 * kDfsSectorBytes;
inline constexpr std::size_t kDfsSectorsPerTrack = 10;

struct DfsFileEntry {
    char Directory = '$';
    std::string Name; // up to 7 characters, trailing spaces gone, shown as ShownChar shows them
    bool Locked = false;
    unsigned Load = 0; // 18 bits
    unsigned Exec = 0; // 18 bits
    unsigned Length = 0; // 18 bits
    unsigned StartSector = 0; // 10 bits

    bool operator==(const DfsFileEntry&) const = default;
};

struct DfsCatalogueContents {
    std::string Title; // up to 12 characters, up to the first NUL, trailing spaces gone
    unsigned Cycle = 0; // the write count, in binary-coded decimal
    int BootOption = 0; // 0 to 3
    unsigned DiscSectors = 0; // 10 bits
    bool Watford = false; // a second catalogue was read from sectors 2 and 3
    std::vector<DfsFileEntry> Files; // the first catalogue's, then the second's

    bool operator==(const DfsCatalogueContents&) const = default;
};

// The catalogue at the start of sectors (the image's bytes, or the first bytes of one side).
// Sectors 0 and 1 are read; sectors 2 and 3 too when they are there and start with eight
// bytes &AA while no file of the first catalogue lies in them (a Watford DDFS disc). A
// failure says in one line why the catalogue does not make sense: shorter than two sectors,
// a file count that is not a multiple of 8, fewer than 2 sectors, a file name with control
// characters, a file that starts in the catalogue or runs past the disc's last sector.
Result<DfsCatalogueContents> ReadDfsCatalogue(std::string_view sectors);

// The boot option (0 to 3) of the catalogue in the first two sectors: that of
// ReadDfsCatalogue, empty where it fails.
std::optional<int> DfsBootOption(std::string_view sectors);

// The same for an image file, of which at most the catalogue is read. Empty for a file that
// cannot be read (a missing file, a folder, a FIFO) as for one that is no DFS disc.
std::optional<int> DfsBootOptionOfFile(const std::string& path);

// The boot option of an image that is a DFS disc by its name (.ssd, .dsd, .img in any case;
// of a .dsd its first side's); empty for every other image.
std::optional<int> DfsBootOptionOfImage(const std::string& path);

// What a user types to boot a disc with that option: 1 "*LOAD !BOOT", 2 "*RUN !BOOT",
// 3 "*EXEC !BOOT"; 0 (no boot) gives an empty text.
std::string BootCommand(int option);

// The option with its meaning: "0 none", "1 *LOAD !BOOT", "2 *RUN !BOOT", "3 *EXEC !BOOT"; any
// other option is its number alone.
std::string BootOptionText(int option);

} // namespace vorbix
