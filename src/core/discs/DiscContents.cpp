#include "discs/DiscContents.h"

#include "discs/AdfsDirectory.h"
#include "discs/DfsCatalogue.h"
#include "discs/DiscBytes.h"
#include "discs/UefTape.h"
#include "platform/FileSystem.h"

namespace vorbix {

namespace {

using discs::Hex;
using discs::Padded;

ImageDescription OneLine(std::string line)
{
    return {{std::move(line)}, false};
}

bool LooksLikeTape(std::string_view head)
{
    return head.starts_with(std::string_view("UEF File!\0", 10)) || head.starts_with("\x1F\x8B");
}

bool LooksLikeAdfs(std::string_view head)
{
    return head.size() > 0x204 && head.substr(0x201, 4) == "Hugo";
}

// Where a byte of a disc side lies in the image file: the tracks of a double-sided image
// alternate between the sides.
std::size_t DfsOffset(std::size_t position, int side, bool interleaved)
{
    if (!interleaved)
        return position;
    constexpr std::size_t kTrackBytes = kDfsSectorsPerTrack * kDfsSectorBytes;
    return (position / kTrackBytes * 2 + static_cast<std::size_t>(side)) * kTrackBytes + position % kTrackBytes;
}

// An ADFS L disc's logical sectors run over the first side's 80 tracks, then the second's.
std::size_t AdfsOffset(std::size_t position, bool interleaved)
{
    if (!interleaved)
        return position;
    constexpr std::size_t kTrackBytes = kAdfsSectorsPerTrack * kAdfsSectorBytes;
    const std::size_t track = position / kTrackBytes;
    return ((track % 80) * 2 + track / 80) * kTrackBytes + position % kTrackBytes;
}

std::string ImageEndsBefore(const std::string& name, std::size_t sector)
{
    return "The image is cut short: it ends before the last byte of " + name + " (in sector " + std::to_string(sector)
        + ")";
}

// The catalogue of one side, or the line why it makes no sense.
std::vector<std::string> DfsSideLines(std::string_view sectors, std::size_t fileSize, int side, bool interleaved)
{
    const Result<DfsCatalogueContents> read = ReadDfsCatalogue(sectors);
    if (!read)
        return {read.Message()};
    const DfsCatalogueContents& catalogue = read.Value();
    for (const DfsFileEntry& file : catalogue.Files) {
        const std::size_t last = std::size_t{file.StartSector} * kDfsSectorBytes + file.Length;
        if (file.Length > 0 && DfsOffset(last - 1, side, interleaved) >= fileSize)
            return {ImageEndsBefore(std::string(1, file.Directory) + "." + file.Name, (last - 1) / kDfsSectorBytes)};
    }
    std::vector<std::string> lines = {"Title    " + catalogue.Title, "Cycle    " + Hex(catalogue.Cycle, 2),
        "Boot     " + BootOptionText(catalogue.BootOption)};
    const unsigned size = catalogue.DiscSectors;
    lines.push_back("Sectors  " + std::to_string(size)
        + (size % kDfsSectorsPerTrack == 0 ? " (" + std::to_string(size / kDfsSectorsPerTrack) + " tracks)" : ""));
    lines.push_back("Files    " + std::to_string(catalogue.Files.size()) + " of "
        + (catalogue.Watford ? "62 (Watford DDFS)" : "31"));
    if (!catalogue.Files.empty())
        lines.emplace_back("  File       Load  Exec  Length Start");
    for (const DfsFileEntry& file : catalogue.Files)
        lines.push_back("  " + Padded(std::string(1, file.Directory) + "." + file.Name, 9) + (file.Locked ? "L " : "  ")
            + Hex(file.Load, 5) + " " + Hex(file.Exec, 5) + " " + Hex(file.Length, 5) + "  "
            + Hex(file.StartSector, 3));
    return lines;
}

ImageDescription DescribeDfs(std::string_view head, std::size_t fileSize, bool doubleSided)
{
    ImageDescription description;
    std::vector<std::string> first = DfsSideLines(head.substr(0, kWatfordCatalogueBytes), fileSize, 0, doubleSided);
    // A single line is the reason the catalogue makes no sense.
    if (first.size() == 1)
        return OneLine(std::move(first.front()));
    description.Understood = true;
    if (!doubleSided) {
        description.Lines = {"DFS disc, single-sided"};
        description.Lines.insert(description.Lines.end(), first.begin(), first.end());
        return description;
    }
    constexpr std::size_t kSecondSide = kDfsSectorsPerTrack * kDfsSectorBytes;
    const std::string_view second = head.size() > kSecondSide ? head.substr(kSecondSide, kWatfordCatalogueBytes) : "";
    description.Lines = {"DFS disc, double-sided", "Side 0"};
    description.Lines.insert(description.Lines.end(), first.begin(), first.end());
    description.Lines.emplace_back("Side 2");
    for (std::string& line : DfsSideLines(second, fileSize, 1, true))
        description.Lines.push_back(std::move(line));
    return description;
}

std::string AdfsSize(unsigned sectors)
{
    switch (sectors) {
    case 640: return " (S, 160 KB)";
    case 1280: return " (M, 320 KB)";
    case 2560: return " (L, 640 KB)";
    default: return "";
    }
}

ImageDescription DescribeAdfs(std::string_view head, std::size_t fileSize, bool interleaved)
{
    const Result<AdfsDisc> read = ReadAdfsDisc(head);
    if (!read)
        return OneLine(read.Message());
    const AdfsDisc& disc = read.Value();
    for (const AdfsEntry& entry : disc.Root) {
        const std::size_t last = std::size_t{entry.StartSector} * kAdfsSectorBytes + entry.Length;
        if (entry.Length > 0 && AdfsOffset(last - 1, interleaved) >= fileSize)
            return OneLine(ImageEndsBefore(entry.Name, (last - 1) / kAdfsSectorBytes));
    }
    ImageDescription description{{"ADFS disc, old map", "Title    " + disc.Title,
                                     "Boot     " + BootOptionText(disc.BootOption),
                                     "Sectors  " + std::to_string(disc.TotalSectors) + AdfsSize(disc.TotalSectors),
                                     "Root     " + std::to_string(disc.Root.size()) + " of 47 entries"},
        true};
    if (!disc.Root.empty())
        description.Lines.emplace_back("  Name       Access Load     Exec     Length   Sector");
    for (const AdfsEntry& entry : disc.Root)
        description.Lines.push_back("  " + Padded(entry.Name, 10) + " " + Padded(entry.Access, 6) + " "
            + Hex(entry.Load, 8) + " " + Hex(entry.Exec, 8) + " " + Hex(entry.Length, 8) + " "
            + Hex(entry.StartSector, 6) + (entry.Directory ? " directory" : ""));
    return description;
}

ImageDescription DescribeTape(std::string_view bytes)
{
    const Result<TapeContents> read = ReadUefTape(bytes);
    if (!read)
        return OneLine(read.Message());
    const TapeContents& tape = read.Value();
    ImageDescription description{{"UEF tape, version " + std::to_string(tape.VersionMajor) + "."
                                         + (tape.VersionMinor < 10 ? "0" : "") + std::to_string(tape.VersionMinor)
                                         + (tape.Compressed ? ", gzip-compressed" : ""),
                                     "Files    " + std::to_string(tape.Files.size())},
        true};
    if (!tape.Files.empty())
        description.Lines.emplace_back("  File         Load     Exec     Length   Blocks");
    for (const TapeFile& file : tape.Files)
        description.Lines.push_back("  " + Padded(file.Name, 10) + (file.Locked ? " L " : "   ") + Hex(file.Load, 8)
            + " " + Hex(file.Exec, 8) + " " + Hex(file.Length, 8) + " " + std::to_string(file.Blocks)
            + (file.BadHeader ? " (a header checksum is wrong)" : ""));
    if (!tape.Problem.empty())
        description.Lines.push_back(tape.Problem);
    return description;
}

} // namespace

ImageDescription DescribeImage(std::string_view head, std::size_t fileSize, ImageKind kind)
{
    if (kind == ImageKind::Tape || (kind == ImageKind::Other && LooksLikeTape(head)))
        return DescribeTape(head);
    if (kind == ImageKind::AdfsLinear || kind == ImageKind::AdfsInterleaved)
        return DescribeAdfs(head, fileSize, kind == ImageKind::AdfsInterleaved);
    if (kind == ImageKind::DfsSingle || kind == ImageKind::DfsDouble) {
        ImageDescription dfs = DescribeDfs(head, fileSize, kind == ImageKind::DfsDouble);
        // An ADFS disc saved under a DFS disc's name.
        if (!dfs.Understood && LooksLikeAdfs(head))
            return DescribeAdfs(head, fileSize, false);
        return dfs;
    }
    if (LooksLikeAdfs(head))
        return DescribeAdfs(head, fileSize, false);
    return OneLine("No catalogue: not a disc or tape image that is read here (.ssd, .dsd, .img, .adf, .ads, .adm, "
                   ".adl, .uef)");
}

namespace {

// Up to limit bytes from the file's current place.
Status ReadUpTo(FileStream& file, std::size_t limit, std::string& bytes, const std::string& path)
{
    char buffer[16384];
    while (bytes.size() < limit) {
        const long long n = file.ReadSome(buffer, std::min(sizeof buffer, limit - bytes.size()));
        if (n < 0)
            return Failure{"Cannot read file " + path, path};
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return {};
}

} // namespace

Result<ImageDescription> DescribeImageFile(const std::string& path)
{
    Result<FileStream> opened = FileStream::Open(path);
    if (!opened)
        return opened.Error();
    FileStream& file = opened.Value();
    const ImageKind kind = ImageKindByName(path);
    std::string bytes;
    if (Status read = ReadUpTo(file, kDiscHeadBytes, bytes, path); !read)
        return read.Error();
    ImageDescription description;
    const bool tape = kind == ImageKind::Tape || (kind == ImageKind::Other && LooksLikeTape(bytes));
    if (tape && file.OpenedSize() > kUefMaxBytes) {
        description = OneLine("The tape file is larger than " + std::to_string(kUefMaxBytes >> 20)
            + " MB, more than any tape holds; not read");
    } else {
        if (tape)
            if (Status read = ReadUpTo(file, kUefMaxBytes, bytes, path); !read)
                return read.Error();
        description = DescribeImage(bytes, std::max(file.OpenedSize(), bytes.size()), kind);
    }
    const std::optional<int> boot = DfsBootOptionOfImage(path);
    const std::string command = BootCommand(boot.value_or(0));
    description.Lines.push_back("%BOOT%   " + (command.empty() ? std::string("types nothing") : "types " + command));
    return description;
}

} // namespace vorbix
