#include "discs/DiscContents.h"
#include "discs/AdfsDirectory.h"
#include "discs/DfsCatalogue.h"
#include "discs/UefTape.h"
#include "launching/EmulatorArguments.h"

#include "support/AdfsUefImages.h"
#include "support/DfsImages.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace vorbix;
using namespace vorbix::test;

namespace {

using Lines = std::vector<std::string>;

Lines Describe(const std::string& image, ImageKind kind)
{
    return DescribeImage(image, image.size(), kind).Lines;
}

// The names of the files numbered first to first + count - 1, starting at sector start,
// one sector each.
std::vector<DfsFile> NumberedFiles(unsigned first, unsigned count, unsigned start)
{
    std::vector<DfsFile> files;
    for (unsigned i = first; i < first + count; ++i)
        files.push_back({"F" + std::to_string(i), '$', false, 0, 0, 256, start + i - first});
    return files;
}

const std::vector<DfsFile> kDfsFiles = {{"!BOOT", '$', false, 0, 0, 0x20, 2},
    {"GAME", 'G', true, 0x31900, 0x38023, 0x12345, 3}};

} // namespace

TEST(DiscContents, ADfsDiscShowsItsTitleCycleBootSizeAndEveryFileOnEachSide)
{
    // Twelve title characters over both sectors, a control character and one with bit 7 set.
    const std::string title = std::string("A\x07") + '\xC2' + "CDEFGHIJKL";
    const std::string ssd = DfsImage(title, 2, kDfsFiles, 400, 0x23);
    const Result<DfsCatalogueContents> read = ReadDfsCatalogue(ssd);
    ASSERT_TRUE(read.Ok()) << read.Message();
    EXPECT_EQ(read.Value(),
        (DfsCatalogueContents{"A?BCDEFGHIJK", 0x23, 2, 400, false,
            {{'$', "!BOOT", false, 0, 0, 0x20, 2}, {'G', "GAME", true, 0x31900, 0x38023, 0x12345, 3}}}));
    EXPECT_EQ(Describe(ssd, ImageKind::DfsSingle),
        (Lines{"DFS disc, single-sided", "Title    A?BCDEFGHIJK", "Cycle    23", "Boot     2 *RUN !BOOT",
            "Sectors  400 (40 tracks)", "Files    2 of 31", "  File       Load  Exec  Length Start",
            "  $.!BOOT    00000 00000 00020  002", "  G.GAME   L 31900 38023 12345  003"}));
    // A NUL ends the title; trailing spaces go.
    EXPECT_EQ(ReadDfsCatalogue(DfsImage(std::string("AB\0CD", 5), 0, {})).Value().Title, "AB");
    EXPECT_EQ(ReadDfsCatalogue(DfsImage("", 0, {})).Value().Title, "");

    // Both sides of a .dsd, the second an 80-track side; the boot option is the first side's.
    const std::string dsd = DsdImage(DfsImage("SIDE0", 3, {{"!BOOT", '$', false, 0, 0, 0x20, 2}}),
        DfsImage("SIDE2", 0, {{"DATA", 'D', false, 0x1900, 0x801F, 0x800, 790}}, 800));
    EXPECT_EQ(Describe(dsd, ImageKind::DfsDouble),
        (Lines{"DFS disc, double-sided", "Side 0", "Title    SIDE0", "Cycle    00", "Boot     3 *EXEC !BOOT",
            "Sectors  400 (40 tracks)", "Files    1 of 31", "  File       Load  Exec  Length Start",
            "  $.!BOOT    00000 00000 00020  002", "Side 2", "Title    SIDE2", "Cycle    00", "Boot     0 none",
            "Sectors  800 (80 tracks)", "Files    1 of 31", "  File       Load  Exec  Length Start",
            "  D.DATA     01900 0801F 00800  316"}));
    EXPECT_EQ(DfsBootOption(dsd), 3);
    // A .dsd cut after its first track has a first side only.
    const Lines cut = Describe(dsd.substr(0, 2560), ImageKind::DfsDouble);
    EXPECT_EQ(cut.back(), "Too short for a DFS catalogue: 0 bytes");

    // 31 files, the most one catalogue holds.
    const Result<DfsCatalogueContents> full = ReadDfsCatalogue(DfsImage("FULL", 1, NumberedFiles(0, 31, 2)));
    ASSERT_TRUE(full.Ok());
    EXPECT_EQ(full.Value().Files.size(), 31U);
    EXPECT_EQ(full.Value().Files.back().Name, "F30");
}

TEST(DiscContents, AWatfordDiscsSecondCatalogueIsReadOnlyWhereItIsOne)
{
    std::vector<DfsFile> files = NumberedFiles(0, 62, 4);
    files[40].Locked = true;
    const std::string watford = WatfordImage("WATFORD", 1, files);
    const Result<DfsCatalogueContents> read = ReadDfsCatalogue(watford);
    ASSERT_TRUE(read.Ok()) << read.Message();
    EXPECT_TRUE(read.Value().Watford);
    ASSERT_EQ(read.Value().Files.size(), 62U);
    EXPECT_EQ(read.Value().Files[61], (DfsFileEntry{'$', "F61", false, 0, 0, 256, 65}));
    EXPECT_TRUE(read.Value().Files[40].Locked);
    const Lines lines = Describe(watford, ImageKind::DfsSingle);
    EXPECT_EQ(lines[5], "Files    62 of 62 (Watford DDFS)");
    EXPECT_EQ(lines.back(), "  $.F61      00000 00000 00100  041");
    EXPECT_EQ(DfsBootOption(watford), 1);

    // Only the first catalogue: given two sectors, or when a file of the first lies where the
    // second would be (its bytes happen to start with the marker).
    EXPECT_EQ(ReadDfsCatalogue(watford.substr(0, 512)).Value().Files.size(), 31U);
    std::string marked = DfsImage("MARKED", 0, {{"DATA", '$', false, 0, 0, 0x200, 2}});
    std::fill(marked.begin() + 512, marked.begin() + 520, '\xAA');
    marked[768 + 5] = 8; // would be one more file
    EXPECT_FALSE(ReadDfsCatalogue(marked).Value().Watford);
    EXPECT_EQ(ReadDfsCatalogue(marked).Value().Files.size(), 1U);

    // A second catalogue that makes no sense, and one whose file starts in the catalogue.
    std::string odd = watford;
    odd[768 + 5] = 5;
    EXPECT_EQ(Describe(odd, ImageKind::DfsSingle),
        (Lines{"The DFS catalogue does not make sense: a file count byte of 5, which is no multiple of 8 in the "
               "second (Watford) catalogue"}));
    std::vector<DfsFile> low = NumberedFiles(0, 31, 4);
    low.push_back({"LOW", '$', false, 0, 0, 256, 3});
    EXPECT_EQ(ReadDfsCatalogue(WatfordImage("W", 0, low)).Message(),
        "The DFS catalogue does not make sense: file 32 ($.LOW) starts in the catalogue, at sector 3 in the second "
        "(Watford) catalogue");
}

TEST(DiscContents, DfsCataloguesThatMakeNoSenseAndCutImagesAreOneLine)
{
    std::string count = DfsImage("ODD", 3, kDfsFiles);
    count[256 + 5] = 3;
    EXPECT_EQ(Describe(count, ImageKind::DfsSingle),
        (Lines{"The DFS catalogue does not make sense: a file count byte of 3, which is no multiple of 8"}));
    // A sector count that lies: the disc is smaller than its files.
    EXPECT_EQ(Describe(DfsImage("LIES", 0, {{"BIG", '$', false, 0, 0, 0x800, 395}}, 400), ImageKind::DfsSingle),
        (Lines{"The DFS catalogue does not make sense: file 1 ($.BIG) runs past the disc's last sector (to sector "
               "402 of 400)"}));
    EXPECT_EQ(Describe(DfsImage("INCAT", 0, {{"CAT", '$', false, 0, 0, 10, 1}}), ImageKind::DfsSingle),
        (Lines{"The DFS catalogue does not make sense: file 1 ($.CAT) starts in the catalogue, at sector 1"}));
    EXPECT_EQ(Describe(DfsImage("CTRL", 0, {{std::string("A\x01", 2), '$', false, 0, 0, 10, 2}}), ImageKind::DfsSingle),
        (Lines{"The DFS catalogue does not make sense: file 1 has a control character in its name"}));
    EXPECT_EQ(Describe(DfsImage("TINY", 0, {}, 1, 0, 2), ImageKind::DfsSingle),
        (Lines{"The DFS catalogue does not make sense: a disc of 1 sectors"}));
    EXPECT_EQ(Describe(std::string(512, '\xFF'), ImageKind::DfsSingle).size(), 1U);
    EXPECT_EQ(Describe("", ImageKind::DfsSingle), (Lines{"Too short for a DFS catalogue: 0 bytes"}));

    // Every cut of an image: the whole listing while every file's bytes are there (a trimmed
    // image is fine), else one line; the boot option needs the catalogue only.
    const std::string image = DfsImage("CUT", 2, kDfsFiles);
    const Lines whole = Describe(image, ImageKind::DfsSingle);
    const std::size_t needed = 3 * 256 + 0x12345;
    for (std::size_t size = 0; size <= image.size(); size += size < 1100 ? 1 : 61) {
        const ImageDescription d = DescribeImage(image.substr(0, size), size, ImageKind::DfsSingle);
        EXPECT_EQ(d.Understood, size >= needed) << size;
        EXPECT_EQ(d.Lines, d.Understood ? whole : Lines{d.Lines.front()}) << size;
        EXPECT_EQ(DfsBootOption(image.substr(0, size)), size >= 512 ? std::optional<int>(2) : std::nullopt) << size;
    }
    EXPECT_EQ(Describe(image.substr(0, needed - 1), ImageKind::DfsSingle),
        (Lines{"The image is cut short: it ends before the last byte of G.GAME (in sector 294)"}));
    EXPECT_EQ(Describe(image.substr(0, 300), ImageKind::DfsSingle),
        (Lines{"Too short for a DFS catalogue: 300 bytes"}));
}

TEST(DiscContents, AnAdfsDiscShowsItsMapAndRootDirectoryInEverySizeAndLayout)
{
    const std::vector<AdfsFile> root = {{"!BOOT", false, false, 0, 0, 0x40, 7}, {"Games", true, false, 0, 0, 0x500, 8},
        {"Elite", false, true, 0x1900, 0x8023, 0x5000, 13}};
    const Lines entries = {"  Name       Access Load     Exec     Length   Sector",
        "  !BOOT      WR     00000000 00000000 00000040 000007",
        "  Games      DL     00000000 00000000 00000500 000008 directory",
        "  Elite      LR     00001900 00008023 00005000 00000D"};
    for (const auto& [sectors, size, kind] : {std::tuple{640U, "(S, 160 KB)", ImageKind::AdfsLinear},
             std::tuple{1280U, "(M, 320 KB)", ImageKind::AdfsLinear},
             std::tuple{2560U, "(L, 640 KB)", ImageKind::AdfsInterleaved}}) {
        SCOPED_TRACE(sectors);
        const std::string image = AdfsImage(sectors, 2, "Demo disc", root, kind == ImageKind::AdfsInterleaved);
        Lines expected = {"ADFS disc, old map", "Title    Demo disc", "Boot     2 *RUN !BOOT",
            "Sectors  " + std::to_string(sectors) + " " + size, "Root     3 of 47 entries"};
        expected.insert(expected.end(), entries.begin(), entries.end());
        EXPECT_EQ(Describe(image, kind), expected);
        // Every cut: the listing while the files are there, else one line. Elite's last byte
        // is in track 5, which an .adl holds after track 4 of the second side.
        const std::size_t last = 13 * 256 + 0x5000 - 1;
        const std::size_t needed =
            kind == ImageKind::AdfsInterleaved ? last / 4096 * 2 * 4096 + last % 4096 + 1 : last + 1;
        for (std::size_t cut = 0; cut < image.size(); cut += 97) {
            const ImageDescription d = DescribeImage(image.substr(0, cut), cut, kind);
            EXPECT_EQ(d.Understood, cut >= needed) << cut;
            EXPECT_EQ(d.Lines.size(), d.Understood ? expected.size() : 1U) << cut;
        }
    }
    const Result<AdfsDisc> read = ReadAdfsDisc(AdfsImage(640, 0, "T", root));
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(read.Value().Root[1], (AdfsEntry{"Games", "DL", true, 0, 0, 0x500, 8}));

    // An .adl's second side follows its first track: a file there is held by a file cut
    // after two tracks, which it would not be sector after sector.
    const std::string adl = AdfsImage(2560, 0, "L", {{"Far", false, false, 0, 0, 0x100, 1290}}, true);
    EXPECT_TRUE(DescribeImage(adl.substr(0, 8192), 8192, ImageKind::AdfsInterleaved).Understood);
    EXPECT_EQ(DescribeImage(adl.substr(0, 8192), 8192, ImageKind::AdfsLinear).Lines,
        (Lines{"The image is cut short: it ends before the last byte of Far (in sector 1290)"}));

    // What makes no sense, and an ADFS disc named like a DFS one.
    std::string noHugo = AdfsImage(640, 0, "T", root);
    noHugo[0x6FB] = 'h';
    EXPECT_EQ(Describe(noHugo, ImageKind::AdfsLinear),
        (Lines{"No ADFS root directory: \"Hugo\" is missing at its start or end"}));
    EXPECT_EQ(Describe(AdfsImage(640, 0, "T", {{"Big", false, false, 0, 0, 0x2000, 630}}), ImageKind::AdfsLinear),
        (Lines{"The ADFS disc does not make sense: entry 1 (Big) runs past the disc's last sector (to sector 661 of "
               "640)"}));
    EXPECT_EQ(Describe(AdfsImage(640, 0, "T", {{"Map", false, false, 0, 0, 1, 1}}), ImageKind::AdfsLinear),
        (Lines{
            "The ADFS disc does not make sense: entry 1 (Map) starts in the map or the root directory, at sector 1"}));
    EXPECT_EQ(Describe(std::string(1000, '\0'), ImageKind::AdfsLinear),
        (Lines{"Too short for an ADFS disc: 1000 bytes"}));
    EXPECT_EQ(Describe(AdfsImage(640, 3, "Named", root), ImageKind::DfsSingle)[2], "Boot     3 *EXEC !BOOT");
}

TEST(DiscContents, AUefTapeListsItsFilesPlainOrGzippedAndWhatIsLeftOfACutOne)
{
    const std::string tape = UefImage(
        {{"LOADER", 0x1900, 0x1900, std::string(100, 'L')}, {"GAME", 0x3000, 0x3000, std::string(700, 'G'), true},
            {"EMPTY", 0, 0, ""}, {"LOADER", 0xFFFF0E00, 0xFFFF0E00, "X"}});
    const std::vector<TapeFile> files = {{"LOADER", 0x1900, 0x1900, 100, 1, false, false},
        {"GAME", 0x3000, 0x3000, 700, 3, true, false}, {"EMPTY", 0, 0, 0, 1, false, false},
        {"LOADER", 0xFFFF0E00, 0xFFFF0E00, 1, 1, false, false}};
    const Lines listing = {"Files    4", "  File         Load     Exec     Length   Blocks",
        "  LOADER       00001900 00001900 00000064 1", "  GAME       L 00003000 00003000 000002BC 3",
        "  EMPTY        00000000 00000000 00000000 1", "  LOADER       FFFF0E00 FFFF0E00 00000001 1"};
    Lines plain = {"UEF tape, version 0.10"};
    plain.insert(plain.end(), listing.begin(), listing.end());
    EXPECT_EQ(Describe(tape, ImageKind::Tape), plain);
    EXPECT_EQ(ReadUefTape(tape).Value().Files, files);
    const std::string gz = Gzip(tape);
    Lines packed = {"UEF tape, version 0.10, gzip-compressed"};
    packed.insert(packed.end(), listing.begin(), listing.end());
    EXPECT_EQ(Describe(gz, ImageKind::Tape), packed);
    // Two gzip members one after the other are one tape; a tape is known by its first bytes.
    EXPECT_EQ(ReadUefTape(Gzip(tape.substr(0, 500)) + Gzip(tape.substr(500))).Value().Files, files);
    EXPECT_EQ(Describe(gz, ImageKind::Other), packed);

    // A block whose header checksum is wrong is marked.
    std::string bad = tape;
    bad[bad.find("GAME") + 5] = 1; // the first block's load address
    EXPECT_EQ(Describe(bad, ImageKind::Tape)[4],
        "  GAME       L 00003001 00003000 000002BC 3 (a header checksum is wrong)");

    // Every cut of the tape: the files read so far, and a line saying where it ends.
    for (std::size_t size = 12; size < tape.size(); ++size) {
        const Result<TapeContents> cut = ReadUefTape(tape.substr(0, size));
        ASSERT_TRUE(cut.Ok()) << size;
        const std::vector<TapeFile>& got = cut.Value().Files;
        ASSERT_LE(got.size(), files.size()) << size;
        for (std::size_t i = 0; i + 1 < got.size(); ++i)
            EXPECT_EQ(got[i], files[i]) << size;
        if (!got.empty()) {
            EXPECT_EQ(got.back().Name, files[got.size() - 1].Name) << size;
        }
        // A cut that leaves a file incomplete is said.
        const bool whole = got == std::vector<TapeFile>(files.begin(), files.begin() + static_cast<long>(got.size()));
        EXPECT_TRUE(whole || !cut.Value().Problem.empty()) << size;
    }
    EXPECT_EQ(ReadUefTape(tape.substr(0, tape.size() - 1)).Value().Problem, "The tape ends inside a chunk");
    EXPECT_EQ(ReadUefTape(tape.substr(0, tape.find("GAME") + 282)).Value().Problem, // after its first block
        "The tape ends before the last block of GAME");
    const Result<TapeContents> halfPacked = ReadUefTape(gz.substr(0, gz.size() / 2));
    ASSERT_TRUE(halfPacked.Ok());
    EXPECT_EQ(halfPacked.Value().Problem, "The compressed tape ends early");
    EXPECT_EQ(Describe(gz.substr(0, gz.size() / 2), ImageKind::Tape).back(), "The compressed tape ends early");

    // A gzip bomb stops at the limit; junk is no tape.
    std::string huge("UEF File!\0\x0A\x00\x00\x01\x00\x00\x50\x00", 18);
    huge.resize(huge.size() + (5U << 20), '\0');
    EXPECT_EQ(Describe(Gzip(huge), ImageKind::Tape),
        (Lines{"The compressed tape unpacks to more than 4 MB, more than any tape holds; not read"}));
    EXPECT_EQ(Describe("UEF", ImageKind::Tape), (Lines{"Too short for a UEF tape: 3 bytes"}));
    EXPECT_EQ(Describe(std::string(40, 'x'), ImageKind::Tape),
        (Lines{"Not a UEF tape: it does not start with \"UEF File!\""}));
}

TEST(DiscContents, AnImageFileIsReadOnlyAsFarAsNeededAndNeverWaitedFor)
{
    TempDir dir;
    const std::string ssd = dir.Write("Game.SSD", DfsImage("GAME", 2, kDfsFiles));
    const Result<ImageDescription> read = DescribeImageFile(ssd);
    ASSERT_TRUE(read.Ok());
    EXPECT_TRUE(read.Value().Understood);
    EXPECT_EQ(read.Value().Lines.back(), "%BOOT%   types " + BootCommandOfImage(ssd));
    EXPECT_EQ(read.Value().Lines.back(), "%BOOT%   types *RUN !BOOT");
    // A disc of a gigabyte (holding nothing past its catalogue) costs its first sectors.
    const std::string huge = dir.Write("Huge.dsd", DsdImage(DfsImage("HUGE", 1, {}), DfsImage("TWO", 0, {})));
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 30);
    EXPECT_EQ(DescribeImageFile(huge).Value().Lines.back(), "%BOOT%   types *LOAD !BOOT");
    // A gzipped tape under any name; a tape file over the limit is not read; an ADFS disc's
    // boot option is no DFS one for %BOOT%.
    const std::string tape = dir.Write("Tape.bin", Gzip(UefImage({{"T", 0, 0, "x"}})));
    EXPECT_EQ(DescribeImageFile(tape).Value().Lines,
        (Lines{"UEF tape, version 0.10, gzip-compressed", "Files    1",
            "  File         Load     Exec     Length   Blocks", "  T            00000000 00000000 00000001 1",
            "%BOOT%   types nothing"}));
    const std::string big = dir.Write("Big.uef", "UEF File!");
    std::filesystem::resize_file(big, (4U << 20) + 1);
    EXPECT_EQ(DescribeImageFile(big).Value().Lines,
        (Lines{"The tape file is larger than 4 MB, more than any tape holds; not read", "%BOOT%   types nothing"}));
    const std::string adfs = dir.Write("Disc.adf", AdfsImage(640, 2, "A", {}));
    EXPECT_EQ(DescribeImageFile(adfs).Value().Lines.back(), "%BOOT%   types nothing");
    EXPECT_FALSE(DescribeImageFile(dir.Write("Game.rom", std::string(8192, '\xFF'))).Value().Understood);

    // Missing files, folders and FIFOs are failures that say why.
    EXPECT_EQ(DescribeImageFile(dir / "Missing.ssd").Message(), "Cannot open file " + (dir / "Missing.ssd"));
    ASSERT_EQ(::mkfifo((dir / "Fifo.uef").c_str(), 0600), 0);
    EXPECT_EQ(DescribeImageFile(dir / "Fifo.uef").Message(),
        "Cannot open file " + (dir / "Fifo.uef") + ": not a regular file");
    EXPECT_FALSE(DescribeImageFile(dir.path()).Ok());
}
