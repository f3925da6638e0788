// Feeds arbitrary bytes to the ADFS reader as a disc image, sector after sector and with its
// sides interleaved. It reads only the map and the root directory, never outside the bytes;
// a disc read has at most 47 entries with printable names, each inside the disc.

#include "FuzzDiscs.h"

#include "discs/AdfsDirectory.h"

#include <cstdint>
#include <string_view>

using namespace vorbix;
using namespace vorbix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    const Result<AdfsDisc> disc = ReadAdfsDisc(image);
    if (size < kAdfsHeadBytes)
        Check(!disc.Ok());
    if (disc) {
        Check(disc.Value().Root.size() <= 47);
        CheckShown(disc.Value().Title, 19);
        for (const AdfsEntry& entry : disc.Value().Root) {
            CheckShown(entry.Name, 10);
            Check(!entry.Name.empty() && entry.StartSector >= 7);
            Check(entry.StartSector + (std::uint64_t{entry.Length} + 255) / 256 <= disc.Value().TotalSectors);
        }
    }
    CheckDescription(DescribeImage(image, size, ImageKind::AdfsLinear));
    CheckDescription(DescribeImage(image, size, ImageKind::AdfsInterleaved));
    CheckDescription(DescribeImage(image, size, ImageKind::Other));
    return 0;
}
