// Feeds arbitrary bytes to the DFS catalogue reader as a disc image, one side and both. It
// reads only the catalogues' sectors, never outside the bytes, and gives a boot option of
// 0 to 3 or none, the one the whole catalogue reader gives; a short input has none. A
// catalogue read holds at most 62 files, each inside the disc, with printable names.

#include "FuzzDiscs.h"

#include "discs/DfsCatalogue.h"

#include <cstdint>
#include <string_view>

using namespace vorbix;
using namespace vorbix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    const std::optional<int> option = DfsBootOption(image);
    if (size < kDfsCatalogueBytes)
        Check(!option.has_value());
    if (option) {
        Check(*option >= 0 && *option <= 3);
        Check(!BootCommand(*option).empty() || *option == 0);
    }
    const Result<DfsCatalogueContents> first = ReadDfsCatalogue(image.substr(0, kDfsCatalogueBytes));
    Check(first.Ok() == option.has_value());
    const Result<DfsCatalogueContents> catalogue = ReadDfsCatalogue(image);
    if (catalogue) {
        const DfsCatalogueContents& read = catalogue.Value();
        Check(read.Files.size() <= (read.Watford ? 62U : 31U));
        CheckShown(read.Title, 12);
        for (const DfsFileEntry& file : read.Files) {
            CheckShown(file.Name, 7);
            Check(file.Load < (1U << 18) && file.Exec < (1U << 18) && file.Length < (1U << 18));
            Check(file.StartSector >= 2 && file.StartSector + (file.Length + 255) / 256 <= read.DiscSectors);
        }
    }
    CheckDescription(DescribeImage(image, size, ImageKind::DfsSingle));
    CheckDescription(DescribeImage(image, size, ImageKind::DfsDouble));
    return 0;
}
