#pragma once
// The catalogue of an Acorn DFS disc image: its first two sectors hold the title, the boot
// option, the disc's size in sectors and up to 31 file entries. Read from the bytes given
// only; a catalogue that does not make sense is no catalogue.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vorbix {

inline constexpr std::size_t kDfsSectorBytes = 256;
inline constexpr std::size_t kDfsCatalogueBytes = 2 * kDfsSectorBytes;

// The boot option (0 to 3) of the catalogue at the start of sectors (the image's bytes, of
// which only the first two sectors are read). Empty when the bytes are shorter than the
// catalogue or it does not make sense: a file count that is not a multiple of 8, fewer
// than 2 sectors, a file name with control characters, a file that starts in the
// catalogue or runs past the disc's last sector.
std::optional<int> DfsBootOption(std::string_view sectors);

// The same for an image file, of which at most the catalogue is read. Empty for a file that
// cannot be read (a missing file, a folder, a FIFO) as for one that is no DFS disc.
std::optional<int> DfsBootOptionOfFile(const std::string& path);

// What a user types to boot a disc with that option: 1 "*LOAD !BOOT", 2 "*RUN !BOOT",
// 3 "*EXEC !BOOT"; 0 (no boot) gives an empty text.
std::string BootCommand(int option);

} // namespace vorbix
