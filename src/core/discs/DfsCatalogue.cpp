#include "discs/DfsCatalogue.h"

#include "platform/FileSystem.h"

#include <array>

namespace vorbix {

namespace {

unsigned Byte(std::string_view bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes[at]);
}

// A name byte of the catalogue: printable ASCII once the top bit (used by some DFS
// variants as a flag) is taken away.
bool IsNameByte(unsigned byte)
{
    const unsigned c = byte & 0x7FU;
    return c >= 0x20U && c != 0x7FU;
}

} // namespace

std::optional<int> DfsBootOption(std::string_view sectors)
{
    if (sectors.size() < kDfsCatalogueBytes)
        return std::nullopt;
    const std::string_view names = sectors.substr(0, kDfsSectorBytes);
    const std::string_view details = sectors.substr(kDfsSectorBytes, kDfsSectorBytes);
    const unsigned fileBytes = Byte(details, 5);
    // A multiple of 8 in one byte: at most 31 entries, as sector 0 holds.
    if (fileBytes % 8 != 0)
        return std::nullopt;
    const unsigned mixed = Byte(details, 6);
    const unsigned discSectors = ((mixed & 0x03U) << 8) | Byte(details, 7);
    if (discSectors < 2)
        return std::nullopt;
    for (std::size_t entry = 8; entry <= fileBytes; entry += 8) {
        for (std::size_t i = 0; i < 7; ++i)
            if (!IsNameByte(Byte(names, entry + i)))
                return std::nullopt;
        const unsigned fileMixed = Byte(details, entry + 6);
        const unsigned length =
            ((fileMixed & 0x30U) << 12) | (Byte(details, entry + 5) << 8) | Byte(details, entry + 4);
        const unsigned start = ((fileMixed & 0x03U) << 8) | Byte(details, entry + 7);
        const unsigned used = (length + 255) / 256;
        if (start < 2 || start + used > discSectors)
            return std::nullopt;
    }
    return static_cast<int>((mixed >> 4) & 0x03U);
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

std::string BootCommand(int option)
{
    switch (option) {
    case 1: return "*LOAD !BOOT";
    case 2: return "*RUN !BOOT";
    case 3: return "*EXEC !BOOT";
    default: return {};
    }
}

} // namespace vorbix
