#include "support/DfsImages.h"

#include <algorithm>

namespace vorbix::test {

std::string DfsImage(const std::string& title, int bootOption, const std::vector<DfsFile>& files, unsigned sectors,
    unsigned cycle, int imageSectors)
{
    const unsigned held = imageSectors < 0 ? sectors : static_cast<unsigned>(imageSectors);
    std::string image(std::max(held, 2U) * 256, '\0');
    auto put = [&image](std::size_t at, unsigned value) { image[at] = static_cast<char>(value & 0xFFU); };
    const std::string padded = (title + std::string(12, ' ')).substr(0, 12);
    for (std::size_t i = 0; i < 8; ++i)
        image[i] = padded[i];
    for (std::size_t i = 0; i < 4; ++i)
        image[256 + i] = padded[8 + i];
    put(256 + 4, cycle);
    put(256 + 5, static_cast<unsigned>(files.size()) * 8);
    put(256 + 6, (static_cast<unsigned>(bootOption) << 4) | ((sectors >> 8) & 3U));
    put(256 + 7, sectors);
    for (std::size_t f = 0; f < files.size(); ++f) {
        const DfsFile& file = files[f];
        const std::size_t at = 8 * (f + 1);
        const std::string name = (file.Name + std::string(7, ' ')).substr(0, 7);
        for (std::size_t i = 0; i < 7; ++i)
            image[at + i] = name[i];
        put(at + 7, static_cast<unsigned char>(file.Directory) | (file.Locked ? 0x80U : 0U));
        put(256 + at, file.Load);
        put(256 + at + 1, file.Load >> 8);
        put(256 + at + 2, file.Exec);
        put(256 + at + 3, file.Exec >> 8);
        put(256 + at + 4, file.Length);
        put(256 + at + 5, file.Length >> 8);
        put(256 + at + 6,
            ((file.Exec >> 16 & 3U) << 6) | ((file.Length >> 16 & 3U) << 4) | ((file.Load >> 16 & 3U) << 2)
                | (file.StartSector >> 8 & 3U));
        put(256 + at + 7, file.StartSector);
    }
    return image;
}

} // namespace vorbix::test
