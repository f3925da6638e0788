#include "discs/AdfsDirectory.h"

#include "discs/DiscBytes.h"

namespace vorbix {

namespace {

using discs::Byte;
using discs::LittleEndian;

constexpr std::size_t kEntryBytes = 26;
constexpr std::size_t kMaxEntries = 47;
constexpr std::size_t kNameBytes = 10;
constexpr std::size_t kTitleAt = 0x4D9;
constexpr std::size_t kTitleBytes = 19;
constexpr std::size_t kTailHugoAt = 0x4FB;
// Sectors 0 to 6: the map and the root directory.
constexpr unsigned kFirstFileSector = 7;

Failure NoSense(const std::string& why)
{
    return {"The ADFS disc does not make sense: " + why, {}};
}

bool HugoAt(std::string_view directory, std::size_t at)
{
    return directory.substr(at, 4) == "Hugo";
}

// A name or title of up to count bytes, ended by CR or NUL (the top bits are flags).
std::string NameAt(std::string_view bytes, std::size_t at, std::size_t count)
{
    std::string name;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned c = Byte(bytes, at + i) & 0x7FU;
        if (c == 0x0DU || c == 0)
            break;
        name += discs::ShownChar(c);
    }
    return name;
}

// Whether the name's bytes up to its end are printable.
bool NameIsPrintable(std::string_view bytes, std::size_t at)
{
    for (std::size_t i = 0; i < kNameBytes; ++i) {
        const unsigned c = Byte(bytes, at + i) & 0x7FU;
        if (c == 0x0DU || c == 0)
            return i > 0;
        if (!discs::IsPrintableName(c))
            return false;
    }
    return true;
}

std::string AccessOf(std::string_view entry)
{
    // The flags are the top bits of the first five name bytes: R, W, L, D, E.
    const auto set = [entry](std::size_t i) { return (Byte(entry, i) & 0x80U) != 0; };
    std::string access;
    for (const auto& [bit, letter] : {std::pair{3U, 'D'}, {2U, 'L'}, {4U, 'E'}, {1U, 'W'}, {0U, 'R'}})
        if (set(bit))
            access += letter;
    return access;
}

Result<AdfsEntry> ReadEntry(std::string_view entry, std::size_t number, unsigned totalSectors)
{
    const std::string which = "entry " + std::to_string(number);
    if (!NameIsPrintable(entry, 0))
        return NoSense(which + " has a control character in its name");
    AdfsEntry read;
    read.Name = NameAt(entry, 0, kNameBytes);
    read.Access = AccessOf(entry);
    read.Directory = (Byte(entry, 3) & 0x80U) != 0;
    read.Load = LittleEndian(entry, 0x0A, 4);
    read.Exec = LittleEndian(entry, 0x0E, 4);
    read.Length = LittleEndian(entry, 0x12, 4);
    read.StartSector = LittleEndian(entry, 0x16, 3);
    const std::string shown = which + " (" + read.Name + ")";
    if (read.StartSector < kFirstFileSector)
        return NoSense(
            shown + " starts in the map or the root directory, at sector " + std::to_string(read.StartSector));
    // In 64 bits: a length near 4 GB must not wrap round.
    const unsigned long long end = read.StartSector + (static_cast<unsigned long long>(read.Length) + 255) / 256;
    if (end > totalSectors)
        return NoSense(shown + " runs past the disc's last sector (to sector " + std::to_string(end - 1) + " of "
            + std::to_string(totalSectors) + ")");
    return read;
}

} // namespace

Result<AdfsDisc> ReadAdfsDisc(std::string_view head)
{
    if (head.size() < kAdfsHeadBytes)
        return Failure{"Too short for an ADFS disc: " + std::to_string(head.size()) + " bytes", {}};
    const std::string_view directory = head.substr(kAdfsRootSector * kAdfsSectorBytes, kAdfsDirectoryBytes);
    if (!HugoAt(directory, 1) || !HugoAt(directory, kTailHugoAt))
        return Failure{"No ADFS root directory: \"Hugo\" is missing at its start or end", {}};
    AdfsDisc disc;
    disc.TotalSectors = LittleEndian(head, 0xFC, 3);
    disc.BootOption = static_cast<int>(Byte(head, kAdfsSectorBytes + 0xFD));
    disc.Title = NameAt(directory, kTitleAt, kTitleBytes);
    if (disc.TotalSectors < kFirstFileSector)
        return NoSense("a disc of " + std::to_string(disc.TotalSectors) + " sectors");
    for (std::size_t i = 0; i < kMaxEntries; ++i) {
        const std::string_view entry = directory.substr(5 + i * kEntryBytes, kEntryBytes);
        if (Byte(entry, 0) == 0)
            break;
        Result<AdfsEntry> read = ReadEntry(entry, i + 1, disc.TotalSectors);
        if (!read)
            return read.Error();
        disc.Root.push_back(std::move(read).Value());
    }
    return disc;
}

} // namespace vorbix
