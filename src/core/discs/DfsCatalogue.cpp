#include "discs/DfsCatalogue.h"

#include "discs/DiscBytes.h"
#include "discs/ImageNames.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <array>

namespace vorbix {

namespace {

using discs::Byte;

constexpr unsigned kWatfordMarker = 0xAA;

Failure NoSense(const std::string& why)
{
    return {"The DFS catalogue does not make sense: " + why, {}};
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// The title: 8 characters in sector 0, 4 in sector 1, ended early by a NUL.
std::string TitleOf(std::string_view names, std::string_view details)
{
    std::string title;
    for (std::size_t i = 0; i < 12; ++i) {
        const unsigned byte = i < 8 ? Byte(names, i) : Byte(details, i - 8);
        if ((byte & 0x7FU) == 0)
            break;
        title += discs::ShownChar(byte);
    }
    return Trimmed(title);
}

std::string EntryName(std::string_view names, std::size_t entry)
{
    std::string name;
    for (std::size_t i = 0; i < 7; ++i)
        name += discs::ShownChar(Byte(names, entry + i));
    return Trimmed(name);
}

// The files of one catalogue (two sectors: names, details), checked against the disc's
// size; files may start no earlier than firstSector.
Status ReadEntries(std::string_view names, std::string_view details, unsigned discSectors, unsigned firstSector,
    std::vector<DfsFileEntry>& files)
{
    const unsigned fileBytes = Byte(details, 5);
    // A multiple of 8 in one byte: at most 31 entries, as a sector holds.
    if (fileBytes % 8 != 0)
        return NoSense("a file count byte of " + std::to_string(fileBytes) + ", which is no multiple of 8");
    for (std::size_t entry = 8; entry <= fileBytes; entry += 8) {
        const std::string number = "file " + std::to_string(files.size() + 1);
        for (std::size_t i = 0; i < 7; ++i)
            if (!discs::IsPrintableName(Byte(names, entry + i)))
                return NoSense(number + " has a control character in its name");
        DfsFileEntry file;
        file.Directory = discs::ShownChar(Byte(names, entry + 7));
        file.Name = EntryName(names, entry);
        file.Locked = (Byte(names, entry + 7) & 0x80U) != 0;
        const unsigned mixed = Byte(details, entry + 6);
        file.Load = ((mixed >> 2 & 3U) << 16) | discs::LittleEndian(details, entry, 2);
        file.Exec = ((mixed >> 6 & 3U) << 16) | discs::LittleEndian(details, entry + 2, 2);
        file.Length = ((mixed >> 4 & 3U) << 16) | discs::LittleEndian(details, entry + 4, 2);
        file.StartSector = ((mixed & 3U) << 8) | Byte(details, entry + 7);
        const std::string shown = number + " (" + file.Directory + "." + file.Name + ")";
        if (file.StartSector < firstSector)
            return NoSense(shown + " starts in the catalogue, at sector " + std::to_string(file.StartSector));
        const unsigned end = file.StartSector + (file.Length + 255) / 256;
        if (end > discSectors)
            return NoSense(shown + " runs past the disc's last sector (to sector " + std::to_string(end - 1) + " of "
                + std::to_string(discSectors) + ")");
        files.push_back(std::move(file));
    }
    return {};
}

// Sectors 2 and 3 hold a second catalogue when they start with eight bytes &AA and no file
// of the first one lies in them (a file there would be what the marker belongs to).
bool HasWatfordCatalogue(std::string_view sectors, const std::vector<DfsFileEntry>& first)
{
    if (sectors.size() < kWatfordCatalogueBytes)
        return false;
    for (std::size_t i = 0; i < 8; ++i)
        if (Byte(sectors, kDfsCatalogueBytes + i) != kWatfordMarker)
            return false;
    return std::none_of(first.begin(), first.end(), [](const DfsFileEntry& file) { return file.StartSector < 4; });
}

} // namespace

Result<DfsCatalogueContents> ReadDfsCatalogue(std::string_view sectors)
{
    if (sectors.size() < kDfsCatalogueBytes)
        return Failure{"Too short for a DFS catalogue: " + std::to_string(sectors.size()) + " bytes", {}};
    const std::string_view names = sectors.substr(0, kDfsSectorBytes);
    const std::string_view details = sectors.substr(kDfsSectorBytes, kDfsSectorBytes);
    DfsCatalogueContents catalogue;
    catalogue.Title = TitleOf(names, details);
    catalogue.Cycle = Byte(details, 4);
    const unsigned mixed = Byte(details, 6);
    catalogue.BootOption = static_cast<int>((mixed >> 4) & 3U);
    catalogue.DiscSectors = ((mixed & 3U) << 8) | Byte(details, 7);
    if (catalogue.DiscSectors < 2)
        return NoSense("a disc of " + std::to_string(catalogue.DiscSectors) + " sectors");
    if (Status first = ReadEntries(names, details, catalogue.DiscSectors, 2, catalogue.Files); !first)
        return first.Error();
    if (HasWatfordCatalogue(sectors, catalogue.Files)) {
        catalogue.Watford = true;
        const std::string_view second = sectors.substr(kDfsCatalogueBytes, kDfsCatalogueBytes);
        if (Status more = ReadEntries(second.substr(0, kDfsSectorBytes), second.substr(kDfsSectorBytes),
                catalogue.DiscSectors, 4, catalogue.Files);
            !more)
            return Failure{more.Message() + " in the second (Watford) catalogue", {}};
    }
    return catalogue;
}

std::optional<int> DfsBootOption(std::string_view sectors)
{
    const Result<DfsCatalogueContents> catalogue = ReadDfsCatalogue(sectors.substr(0, kDfsCatalogueBytes));
    if (!catalogue)
        return std::nullopt;
    return catalogue.Value().BootOption;
}

std::optional<int> DfsBootOptionOfFile(const std::string& path)
{
    Result<FileStream> file = FileStream::Open(path);
    if (!file)
        return std::nullopt;
    std::array<char, kDfsCatalogueBytes> catalogue{};
    std::size_t have = 0;
    while (have < catalogue.size()) {
        const long long n = file.Value().ReadSome(catalogue.data() + have, catalogue.size() - have);
        if (n <= 0)
            break;
        have += static_cast<std::size_t>(n);
    }
    return DfsBootOption(std::string_view(catalogue.data(), have));
}

std::optional<int> DfsBootOptionOfImage(const std::string& path)
{
    const ImageKind kind = ImageKindByName(path);
    if (kind != ImageKind::DfsSingle && kind != ImageKind::DfsDouble)
        return std::nullopt;
    return DfsBootOptionOfFile(path);
}

std::string BootCommand(int option)
{
    switch (option) {
    case 1: return "*LOAD !BOOT";
    case 2: return "*RUN !BOOT";
    case 3: return "*EXEC !BOOT";
    default: return {};
    }
}

std::string BootOptionText(int option)
{
    if (option < 0 || option > 3)
        return std::to_string(option);
    const std::string command = BootCommand(option);
    return std::to_string(option) + " " + (command.empty() ? "none" : command);
}

} // namespace vorbix
