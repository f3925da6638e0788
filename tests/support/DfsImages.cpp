#include "support/DfsImages.h"

#include <algorithm>

namespace vorbix::test {

namespace {

void Put(std::string& image, std::size_t at, unsigned value)
{
    image[at] = static_cast<char>(value & 0xFFU);
}

// The entries of one catalogue whose names sector starts at at.
void WriteEntries(std::string& image, std::size_t at, const std::vector<DfsFile>& files)
{
    Put(image, at + 256 + 5, static_cast<unsigned>(files.size()) * 8);
    for (std::size_t f = 0; f < files.size(); ++f) {
        const DfsFile& file = files[f];
        const std::size_t entry = at + 8 * (f + 1);
        const std::string name = (file.Name + std::string(7, ' ')).substr(0, 7);
        for (std::size_t i = 0; i < 7; ++i)
            image[entry + i] = name[i];
        Put(image, entry + 7, static_cast<unsigned char>(file.Directory) | (file.Locked ? 0x80U : 0U));
        const std::size_t details = entry + 256;
        Put(image, details, file.Load);
        Put(image, details + 1, file.Load >> 8);
        Put(image, details + 2, file.Exec);
        Put(image, details + 3, file.Exec >> 8);
        Put(image, details + 4, file.Length);
        Put(image, details + 5, file.Length >> 8);
        Put(image, details + 6,
            ((file.Exec >> 16 & 3U) << 6) | ((file.Length >> 16 & 3U) << 4) | ((file.Load >> 16 & 3U) << 2)
                | (file.StartSector >> 8 & 3U));
        Put(image, details + 7, file.StartSector);
    }
}

} // namespace

std::string DfsImage(const std::string& title, int bootOption, const std::vector<DfsFile>& files, unsigned sectors,
    unsigned cycle, int imageSectors)
{
    const unsigned held = imageSectors < 0 ? sectors : static_cast<unsigned>(imageSectors);
    std::string image(std::size_t{std::max(held, 2U)} * 256, '\0');
    const std::string padded = (title + std::string(12, ' ')).substr(0, 12);
    for (std::size_t i = 0; i < 8; ++i)
        image[i] = padded[i];
    for (std::size_t i = 0; i < 4; ++i)
        image[256 + i] = padded[8 + i];
    Put(image, 256 + 4, cycle);
    Put(image, 256 + 6, (static_cast<unsigned>(bootOption) << 4) | ((sectors >> 8) & 3U));
    Put(image, 256 + 7, sectors);
    WriteEntries(image, 0, files);
    return image;
}

std::string WatfordImage(const std::string& title, int bootOption, const std::vector<DfsFile>& files, unsigned sectors)
{
    const std::size_t split = std::min<std::size_t>(files.size(), 31);
    std::string image = DfsImage(title, bootOption, {files.begin(), files.begin() + static_cast<long>(split)}, sectors);
    std::fill(image.begin() + 512, image.begin() + 1024, '\0');
    std::fill(image.begin() + 512, image.begin() + 520, '\xAA');
    WriteEntries(image, 512, {files.begin() + static_cast<long>(split), files.end()});
    return image;
}

std::string DsdImage(const std::string& side0, const std::string& side1)
{
    constexpr std::size_t kTrack = std::size_t{10} * 256;
    const std::size_t tracks = (std::max(side0.size(), side1.size()) + kTrack - 1) / kTrack;
    std::string image;
    for (std::size_t t = 0; t < tracks; ++t)
        for (const std::string* side : {&side0, &side1}) {
            std::string track = t * kTrack < side->size() ? side->substr(t * kTrack, kTrack) : std::string();
            track.resize(kTrack, '\0');
            image += track;
        }
    return image;
}

} // namespace vorbix::test
