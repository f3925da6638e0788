// Writes the seed corpora and dictionaries of the fuzz targets, made by the system's own
// writers (the two catalogue files, JPEG pictures) and by the line layouts of the legacy
// files and ROMS.CFG, so that no binary corpus is kept in the repository.
//
//   vorbix-fuzz-seeds OUTPUT_DIR
//
// writes OUTPUT_DIR/<target>/seed-N for the targets programs, options, legacy, jpeg and
// romscfg, and OUTPUT_DIR/<target>.dict for those whose input has a vocabulary.

#include "catalogue/Main_LoadSaveUnit.h"
#include "catalogue/RecordFields.h"
#include "platform/FileSystem.h"
#include "platform/JpegWriter.h"
#include "support/Builders.h"
#include "support/DfsImages.h"
#include "support/PngBytes.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

using namespace vorbix;
using vorbix::test::MakeProgram;
using Lines = std::vector<std::string>;

namespace {

std::string output;

// The entity references of the catalogue files, and one that a value holding "&amp;" as
// text turns into.
const std::vector<std::string> kEntities = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;", "&amp;amp;"};

void WriteSeeds(const std::string& target, const std::vector<std::string>& seeds)
{
    const std::string folder = output + "/" + target;
    std::filesystem::create_directories(folder);
    for (std::size_t i = 0; i < seeds.size(); ++i)
        std::ofstream(folder + "/seed-" + std::to_string(i), std::ios::binary) << seeds[i];
}

// A libFuzzer dictionary: one quoted entry a line, with \xNN for bytes outside ASCII.
void WriteDictionary(const std::string& target, const std::vector<std::string>& words)
{
    std::ofstream file(output + "/" + target + ".dict", std::ios::binary);
    for (const auto& word : words) {
        file << '"';
        for (const char ch : word) {
            const auto c = static_cast<unsigned char>(ch);
            if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
                file << escaped;
            } else {
                file << c;
            }
        }
        file << "\"\n";
    }
}

std::vector<std::string> TagsOf(const std::vector<std::string>& names)
{
    std::vector<std::string> tags;
    for (const auto& name : names) {
        tags.push_back("<" + name + ">");
        tags.push_back("</" + name + ">");
    }
    return tags;
}

std::vector<ProgramRecord> SamplePrograms()
{
    ProgramRecord elite = MakeProgram("Acornsoft", "Elite", "Game", "/games/Elite.ssd");
    elite.Favourite = true;
    elite.Comments = {"Trade, fight & explore.", "  indented <b>not bold</b>", "Press &lt; and &gt; to turn (as typed)",
        "", "   "};
    elite.EmuWarningEmus = {"BeebEm"};
    elite.EmuWarningTexts = {"Needs the \"Model B\" setting"};
    elite.DocLinkNames = {"Manual", "Map"};
    elite.DocLinkUrls = {"/docs/Elite manual.txt", "http://example.invalid/map?a=1&b='2'"};
    ProgramRecord chuckie = MakeProgram("A&F", "Chuckie Egg", "Game", "C:\\Games\\Chuckie.ssd");
    chuckie.E00Dfs = true;
    ProgramRecord wordwise = MakeProgram("acornsoft", "Wordwise \xC3\xA9", "Utility", "/roms/WORDWISE.ROM");
    ProgramRecord latin = MakeProgram("Superior", "Repton \xE9", "", "");
    latin.Comments = {"Windows-1252 text: caf\xE9"};
    return {elite, chuckie, wordwise, latin};
}

// The shapes of hostile files: elements nested thousands deep, then junk between tags,
// where every missing element is a message.
std::string DeepAndJunk(const std::string& element)
{
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "<" + element + ">";
    for (int i = 0; i < 500; ++i)
        text += "x<" + element + "-name>\x01<</" + element + ">>&amp;<";
    return text;
}

std::string ProgramsFile(std::vector<ProgramRecord> programs)
{
    Catalogue catalogue;
    catalogue.ProgramList = std::move(programs);
    return ProgramsFileBytes(catalogue);
}

void ProgramsSeeds()
{
    const auto sample = SamplePrograms();
    const std::string whole = ProgramsFile(sample);
    std::vector<std::string> seeds = {whole, ProgramsFile({}), ProgramsFile({sample[0]}), ProgramsFile({sample[3]}),
        whole.substr(0, whole.size() / 2)};
    // Hand-edited forms: LF line ends, no indentation, everything on one line.
    std::string lf, flat;
    for (const auto& line : SplitLines(whole)) {
        lf += line + "\n";
        flat +=
            line.substr(line.find_first_not_of(' ') == std::string::npos ? line.size() : line.find_first_not_of(' '));
    }
    seeds.push_back(lf);
    seeds.push_back(flat);
    seeds.push_back(DeepAndJunk("program"));
    seeds.push_back(whole.substr(0, whole.size() / 5)); // cut inside its first publisher group
    WriteSeeds("programs", seeds);
    auto words = TagsOf({"programs", "vorbix-version", "publisher", "publisher-name", "program", "program-name",
        "program-type", "file-url", "favourite", "e00dfs", "picture-url", "boxcover-url", "comments", "commentline",
        "emuwarnings", "emuwarning", "emu-name", "warningtext", "doclinks", "doclink", "doc-name", "doc-url"});
    words.insert(words.end(), kEntities.begin(), kEntities.end());
    words.insert(words.end(), {"true", "false"});
    WriteDictionary("programs", words);
}

Catalogue SampleOptions()
{
    Catalogue catalogue;
    EmuRecord beebem;
    for (const EmuTextField& field : kEmuTextFields)
        beebem.*field.Member = std::string(field.Leaf) + " value";
    beebem.EmuName = "BeebEm";
    beebem.CommandLineString = "\"%f\" -b & <x> &lt;as typed&gt;";
    beebem.ProcessRomsCfgModelB = true;
    beebem.HandleDfs = true;
    EmuRecord bem;
    bem.EmuName = "B-Em \xC3\xBC";
    bem.EmuUrl = "/usr/bin/b-em";
    bem.CleanDiskWorkingDir = true;
    catalogue.EmuList = {beebem, bem};
    FilterRecord games;
    games.FilterName = "Games";
    games.FType = "Game";
    games.FFavourite = FavouriteCondition::fcTrue;
    FilterRecord notAcorn;
    notAcorn.FilterName = "Not Acornsoft";
    notAcorn.FPublisher = "Acornsoft";
    notAcorn.FPubComp = "<>";
    notAcorn.FFavourite = FavouriteCondition::fcFalse;
    catalogue.FilterList = {games, notAcorn};
    for (const char* name : {"Acornsoft", "A&F", "acornsoft", "Superior \xE9"})
        catalogue.Publishers.Add(name);
    for (const char* name : {"Game", "Utility", "Demo"})
        catalogue.ProgramTypes.Add(name);
    catalogue.LastProgramDir = "/games/";
    catalogue.LastEmuDir = "C:\\Emulators\\";
    catalogue.LastDocDir = "";
    catalogue.Options.CopyDiskBack = true;
    catalogue.Options.PictureUrl = "/shots/screen.jpg";
    catalogue.LastFilter = "Games";
    catalogue.LastEmu = "BeebEm";
    return catalogue;
}

void OptionsSeeds()
{
    const Catalogue sample = SampleOptions();
    const std::string whole = OptionsFileBytes(sample);
    WriteSeeds("options",
        {whole, OptionsFileBytes(Catalogue{}), whole.substr(0, whole.size() * 2 / 3), DeepAndJunk("emulator")});
    std::vector<std::string> names = {"options", "vorbix-version", "emulators", "emulator", "filters", "filter",
        "f-favourite", "publishers", "publisher", "program-types", "type", "other-options", "last-program-dir",
        "last-emu-dir", "last-doc-dir", "last-filter", "last-emu", "preprocessing-compatibilitywarning",
        "preprocessing-e00dfswarning", "postprocessing-copydiskback", "postprocessing-copypicture",
        "postprocessing-pictureurl", "dropoption-askaddtolist", "dropoption-usee00dfs"};
    for (const EmuTextField& field : kEmuTextFields) {
        names.push_back(field.Leaf);
        if (field.Group != nullptr)
            names.push_back(field.Group);
    }
    for (const EmuFlagField& field : kEmuFlagFields)
        names.push_back(field.Leaf);
    for (const FilterTextField& field : kFilterTextFields)
        names.push_back(field.Leaf);
    auto words = TagsOf(names);
    words.insert(words.end(), kEntities.begin(), kEntities.end());
    words.insert(words.end(), {"true", "false", "don't care"});
    WriteDictionary("options", words);
}

// The four legacy files in the target's input form: their contents separated by NUL bytes.
std::string LegacyInput(const Lines& programs, const Lines& options, const Lines& emus, const Lines& filters)
{
    return JoinLinesCrLf(programs) + '\0' + JoinLinesCrLf(options) + '\0' + JoinLinesCrLf(emus) + '\0'
        + JoinLinesCrLf(filters);
}

void LegacySeeds()
{
    const Lines programs = {"2", "Elite", "C:\\Games\\Elite.ssd", "Acornsoft", "Game", "True", "False", "2",
        "Trade & fight, &lt; turns left", "", "#@%#123#@%#", "1", "BeebEm", "Model B only", "1", "Manual",
        "C:\\Docs\\Elite.txt", "Repton", "C:\\Games\\Repton.ssd", "Superior", "Game", "False", "True", "0", "0"};
    const Lines options = {"2", "1", "Acornsoft", "Superior", "Game", "C:\\Games\\", "C:\\Emus\\", "C:\\Docs\\",
        "Games", "BeebEm", "true", "x", "y", "true", "false", "C:\\shot.jpg", "true", "false", "true"};
    Lines emus = {"1"};
    for (const EmuTextField& field : kEmuTextFields)
        emus.push_back(field.Leaf);
    for (int i = 0; i < 5; ++i)
        emus.push_back(i % 2 ? "True" : "False");
    Lines laterEmus = emus;
    laterEmus.push_back("2.2");
    const Lines filters = {"2", "Games", "any", "Game", "Checked", "Acorn", "Acornsoft", "any", "Grayed"};
    WriteSeeds("legacy",
        {LegacyInput(programs, options, emus, filters), LegacyInput(programs, options, laterEmus, filters),
            LegacyInput({"x"}, {"1"}, {"-1"}, {"2147483648"}),
            LegacyInput(Lines(programs.begin(), programs.begin() + 9), Lines(options.begin(), options.begin() + 7), {},
                {})});
    WriteDictionary("legacy", {"#@%#123#@%#", "True", "False", "true", "Checked", "Unchecked", "2.2", "\r\n"});
}

// A picture of the given colours whose samples vary along each row and from row to row.
std::string Pattern(int width, int height, const JpegSettings& settings)
{
    const std::size_t rowSize = static_cast<std::size_t>(width * JpegSamplesPerPixel(settings.Colours));
    std::vector<std::uint8_t> samples(rowSize * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] =
            static_cast<std::uint8_t>((static_cast<int>(i % rowSize) * 7 + static_cast<int>(i / rowSize) * 11) % 256);
    return EncodeJpeg(width, height, samples, settings);
}

void JpegSeeds()
{
    std::vector<std::string> seeds;
    for (auto [width, height, quality] : {std::tuple{8, 8, 85}, {17, 9, 50}, {40, 30, 95}, {3, 64, 10}}) {
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width * height * 3));
        for (std::size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = static_cast<std::uint8_t>(i * 13 % 251);
        seeds.push_back(EncodeJpeg(width, height, rgb, {.Quality = quality}));
    }
    // libjpeg's default quality for the forms beyond plain RGB.
    constexpr int kQuality = 75;
    seeds.push_back(Pattern(24, 16, {.Quality = kQuality, .Progressive = true}));
    seeds.push_back(Pattern(16, 16, {.Colours = JpegColours::Grey, .Quality = kQuality, .Progressive = true}));
    seeds.push_back(Pattern(16, 8, {.Colours = JpegColours::Cmyk, .Quality = kQuality}));
    seeds.push_back(Pattern(32, 32, {.Quality = kQuality, .OptimizedTables = true, .RestartInterval = 1}));
    seeds.push_back(Pattern(16, 16, {.Quality = kQuality, .ArithmeticCoding = true}));
    WriteSeeds("jpeg", seeds);
    // The markers: start and end of image, frames, tables, scans, restarts, application data, comments.
    std::vector<std::string> markers;
    for (int code :
        {0xD8, 0xD9, 0xC0, 0xC1, 0xC2, 0xC9, 0xCA, 0xC4, 0xCC, 0xDB, 0xDA, 0xDD, 0xD0, 0xD7, 0xE0, 0xEE, 0xFE})
        markers.push_back(std::string("\xFF") + static_cast<char>(code));
    markers.push_back("JFIF");
    markers.push_back("Adobe");
    WriteDictionary("jpeg", markers);
}

// The ROMS.CFG target's input: flags (insert, DFS, Model B, Master 128), the name's length,
// the name, then the file.
std::string RomsCfgInput(unsigned flags, const std::string& name, const Lines& lines)
{
    return std::string(1, static_cast<char>(flags)) + static_cast<char>(name.size()) + name + JoinLinesCrLf(lines);
}

void RomsCfgSeeds()
{
    Lines standard = {"OS12", "BASIC2"};
    for (int i = 2; i <= 15; ++i)
        standard.push_back("EMPTY");
    standard.push_back("RAM");
    standard.push_back("M128\\MOS");
    for (int i = 0; i < 4; ++i)
        standard.push_back("M128\\BASIC4");
    for (int i = 0; i < 12; ++i)
        standard.push_back("EMPTY");
    Lines commented = {"# BeebEm ROM configuration", ""};
    commented.insert(commented.end(), standard.begin(), standard.end());
    commented.insert(commented.begin() + 5, "  # slot comment");
    Lines fourSections;
    for (int block = 0; block < 4; ++block)
        fourSections.insert(fourSections.end(), standard.begin(), standard.begin() + 17);
    WriteSeeds("romscfg",
        {RomsCfgInput(1 | 4, "ELITE.ROM", standard), RomsCfgInput(4, "BASIC2", standard),
            RomsCfgInput(1 | 2 | 8, "DFS.ROM", commented), RomsCfgInput(1 | 8, "My Rom.rom", fourSections),
            RomsCfgInput(8, "M128\\BASIC4", fourSections), RomsCfgInput(1 | 4, "short", {"OS12", "EMPTY"}),
            // LF line ends as emulators on Linux write them, and control bytes no ROM list has.
            std::string(1, static_cast<char>(1 | 4)) + "\x04GAME" + "OS12\nBASIC2\n" + std::string(15, '\n'),
            std::string(1, static_cast<char>(1 | 4)) + "\x04GAME" + "OS12\r\n" + '\0'
                + "\x07"
                  "BASIC2\r\n"});
    WriteDictionary("romscfg", {"EMPTY", "RAM", "M128\\", "\r\n", "#"});
}

void PngSeeds()
{
    std::vector<std::string> seeds;
    for (auto [width, height] : {std::pair{1, 1}, {8, 8}, {17, 9}, {64, 3}})
        seeds.push_back(test::PngBytes(width, height));
    WriteSeeds("png", seeds);
    WriteDictionary("png", {"\x89PNG\r\n\x1a\n", "IHDR", "PLTE", "IDAT", "IEND", "tRNS", "gAMA"});
}

void DfsSeeds()
{
    const std::vector<test::DfsFile> files = {{"!BOOT", '$', false, 0, 0, 0x20, 2},
        {"GAME", 'G', true, 0x1900, 0x8023, 0x12345, 3}, {"LAST", '$', false, 0, 0, 256, 399}};
    std::vector<std::string> seeds;
    for (int option = 0; option <= 3; ++option)
        seeds.push_back(test::DfsImage("SEED", option, files).substr(0, 1024));
    seeds.push_back(test::DfsImage("BIG", 2, {}, 800, 0, 4));
    WriteSeeds("dfs", seeds);
}

void ListSeeds()
{
    WriteSeeds("lists",
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE softwarelist SYSTEM \"softwarelist.dtd\">\n<!-- c -->\n"
         "<softwarelist name=\"bbcb_flop\"><software name=\"elite\" cloneof=\"e\"><description>Elite &amp; "
         "Co</description><year>1984</year><publisher>Acornsoft</publisher><part name=\"flop1\"><feature "
         "name=\"part_id\" value=\"Side A\"/><dataarea name=\"flop\" size=\"102400\"><rom name=\"e.ssd\" "
         "size=\"102400\" crc=\"5a8deaff\" sha1=\"d0f4716a376e4407492b4db7f87597bc07d7651f\"/></dataarea></part>"
         "</software></softwarelist>\n",
            "<?xml version=\"1.0\"?><datafile><header><name>TOSEC</name></header><game name=\"Hobbit, The "
            "(1982)(Melbourne House)[a]\"><description>x</description><rom name=\"h.ssd\" size=\"2560\" "
            "crc=\"0badf00d\" md5=\"00\"/></game><machine name=\"m\"><manufacturer>M</manufacturer><rom "
            "name=\"m.rom\" size=\"16384\" crc=\"12345678\" status=\"nodump\"/></machine></datafile>",
            "Repton 3 (demo) (1988-04)(Superior Software)(Disk 1 of 2)[cr]",
            test::DfsImage("SEED", 3, {{"GAME", '$', false, 0x1900, 0x1900, 0x800, 2}}, 800, 0, 10)});
    WriteDictionary("lists", {"<software", "</software>", "<rom", "size=\"", "crc=\"", "sha1=\"", "<description>",
                                 "<![CDATA[", "<!--", "&amp;", "&#x", "<datafile>", "<game name=\"", " (1988)",
                                 "(Publisher)", ", The"});
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: vorbix-fuzz-seeds OUTPUT_DIR\n";
        return 2;
    }
    output = argv[1];
    ProgramsSeeds();
    OptionsSeeds();
    LegacySeeds();
    JpegSeeds();
    RomsCfgSeeds();
    PngSeeds();
    DfsSeeds();
    ListSeeds();
    return 0;
}
