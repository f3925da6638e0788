// Writes the demo application folder: a small catalogue of disk, tape and ROM images made
// here (DFS disk images with a !BOOT file, a UEF tape, a sideways ROM), their pictures and box covers as
// JPEGs, a fake emulator with its ROMS.CFG and DFS ROM placeholders, and the two catalogue
// files. Paths in the catalogue point at the folder given as the second argument, where
// scripts/run.sh puts its scratch copy.
//
//   vorbix-make-demo OUTPUT_DIR CATALOGUE_DIR

#include "catalogue/Main_LoadSaveUnit.h"
#include "platform/FileSystem.h"
#include "platform/JpegWriter.h"
#include "support/AdfsUefImages.h"
#include "support/DfsImages.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace vorbix;
using namespace std::string_literals;

namespace {

// A 40-track single-sided DFS image holding its files: a !BOOT text file that *EXEC types
// in at start-up (boot option 3), a BASIC loader and the game's machine code, locked.
std::string MakeDiskImage(const std::string& title, const std::string& bootText)
{
    const auto bootLength = static_cast<unsigned>(bootText.size());
    std::string image = test::DfsImage(title, 3,
        {{"!BOOT", '$', false, 0, 0, bootLength, 2}, {"LOADER", '$', false, 0x31900, 0x38023, 0x2E0, 3},
            {"GAME", 'G', true, 0x1100, 0x1100, 0x1A00, 6}},
        400, 1, 6 + 0x1A);
    image.replace(512, bootLength, bootText);
    return image;
}

// Both sides of a disc: the game's first part on side 0, its second on side 2.
std::string MakeDoubleSidedImage(const std::string& title, const std::string& bootText)
{
    return test::DsdImage(MakeDiskImage(title, bootText),
        test::DfsImage("PART TWO", 0, {{"PART2", '$', false, 0x1900, 0x1900, 0x2400, 2}}, 400, 1, 2 + 0x24));
}

// A tape of a BASIC loader and the game's machine code in 20 blocks.
std::string MakeTape()
{
    // Three lines of BASIC as the interpreter keeps them: CR, the line number, the line's
    // length, the text (untokenised); CR and &FF end the program.
    const std::string loader = "\r\x00\x0A\x0A"
                               "MODE 7"
                               "\r\x00\x14\x12"
                               "*LOAD TREKCODE"
                               "\r\x00\x1E\x0E"
                               "CALL &1900"
                               "\r\xFF"s;
    return test::UefImage(
        {{"TAPETREK", 0xFFFF0E00, 0xFFFF8023, loader}, {"TREKCODE", 0x1900, 0x1900, std::string(0x1400, '\xEA')}});
}

// An 8 KB sideways ROM of the service type whose service entry returns at once.
std::string MakeRom(const std::string& title)
{
    std::string rom(8192, '\xFF');
    const unsigned char header[] = {0x00, 0x00, 0x00, 0x4C, 0x00, 0x80, 0x82};
    for (std::size_t i = 0; i < sizeof header; ++i)
        rom[i] = static_cast<char>(header[i]);
    // Service entry at &8003 jumps to &8000+len, where an RTS waits.
    std::string text = title + '\0' + "1.00" + '\0' + "(C)Vorbix demo" + '\0';
    rom[7] = static_cast<char>(9 + title.size() + 1 + 4);
    rom[8] = 1;
    for (std::size_t i = 0; i < text.size(); ++i)
        rom[9 + i] = text[i];
    const std::size_t rts = 9 + text.size();
    rom[rts] = static_cast<char>(0x60);
    rom[4] = static_cast<char>(rts & 0xFF);
    rom[5] = static_cast<char>(0x80 | ((rts >> 8) & 0x3F));
    return rom;
}

// A picture in the BBC Micro's eight colours: bands and a ring, different per seed.
std::string MakePicture(int width, int height, int seed)
{
    static const std::uint8_t palette[8][3] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}, {0, 0, 255},
        {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width * height * 3));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = x - width / 2.0, dy = y - height / 2.0;
            const int ring = static_cast<int>(std::sqrt(dx * dx + dy * dy) / (12 + seed * 3));
            const int band = (y / 16 + seed) % 8;
            const int colour = (ring % 3 == 0) ? (band + seed) % 8 : (ring + seed) % 7 + 1;
            for (int c = 0; c < 3; ++c)
                rgb[static_cast<std::size_t>((y * width + x) * 3 + c)] = palette[colour][c];
        }
    }
    return EncodeJpeg(width, height, rgb, {.Quality = 80});
}

struct DemoProgram {
    const char* name;
    const char* publisher;
    const char* type;
    const char* file;
    bool favourite;
    bool picture;
    bool boxCover;
};

void Write(const std::string& path, const std::string& bytes)
{
    ForceDirectories(path.substr(0, path.find_last_of('/')));
    if (!WriteFileAtomic(path, bytes)) {
        std::cerr << "Cannot create file " << path << "\n";
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: vorbix-make-demo OUTPUT_DIR CATALOGUE_DIR\n";
        return 2;
    }
    std::string home = argv[2];
    ForceDirectories(argv[1]);
    // An absolute output folder, so that it cannot occur inside the catalogue's own paths.
    std::string out = std::filesystem::canonical(argv[1]).string() + "/";
    if (home.back() != '/')
        home += '/';

    const DemoProgram programs[] = {
        {"Star Miner", "Blue Sky", "Arcade", "Blue Sky/StarMiner.ssd", true, true, true},
        {"Cave Runner", "Blue Sky", "Arcade", "Blue Sky/CaveRunner.ssd", false, true, false},
        {"Word Wizard", "Quill Software", "Education", "Quill Software/WordWizard.ssd", false, true, true},
        {"The Lost Crown", "Quill Software", "Adventure", "Quill Software/LostCrown.dsd", true, false, false},
        {"Orbit", "Acme Micro", "Arcade", "Acme Micro/Orbit.ssd", false, true, false},
        {"Disc Doctor ROM", "Acme Micro", "Utility", "Acme Micro/DiscDoctor.rom", false, false, false},
        {"Tape Trek", "Acme Micro", "Arcade", "Acme Micro/TapeTrek.uef", false, true, false},
    };

    Catalogue c;
    c.AppDir = out;
    int seed = 0;
    for (const auto& p : programs) {
        const std::string file = std::string(p.file);
        const std::string stem = file.substr(0, file.find_last_of('.'));
        const std::string extension = file.substr(file.size() - 4);
        const std::string boot = "MODE 7\rPRINT \"" + std::string(p.name) + "\"\r";
        if (extension == ".rom")
            Write(out + "programs/" + file, MakeRom(p.name));
        else if (extension == ".uef")
            Write(out + "programs/" + file, MakeTape());
        else if (extension == ".dsd")
            Write(out + "programs/" + file, MakeDoubleSidedImage(p.name, boot));
        else
            Write(out + "programs/" + file, MakeDiskImage(p.name, boot));
        if (p.picture)
            Write(out + "programs/" + stem + ".jpg", MakePicture(320, 256, seed));
        if (p.boxCover)
            Write(out + "programs/" + stem + "-box.jpg", MakePicture(240, 300, seed + 3));
        ++seed;
        ProgramRecord record;
        record.ProgramName = p.name;
        record.PublisherName = p.publisher;
        record.ProgramType = p.type;
        record.FileUrl = home + "programs/" + file;
        record.Favourite = p.favourite;
        c.ProgramList.push_back(record);
    }
    c.ProgramList[0].Comments = {"Dig for crystals on twelve asteroids.", "Keys: Z X * ? and RETURN to fire."};
    c.ProgramList[0].EmuWarningEmus = {"Fake BeebEm"};
    c.ProgramList[0].EmuWarningTexts = {"Runs best with sound switched off"};
    c.ProgramList[0].DocLinkNames = {"Instructions"};
    c.ProgramList[0].DocLinkUrls = {home + "docs/StarMiner.txt"};
    c.ProgramList[3].E00Dfs = true;
    c.ProgramList[3].Comments = {"A text adventure in two parts.", "", "Save often!"};
    Write(out + "docs/StarMiner.txt", "Star Miner\r\n\r\nFly from rock to rock and dig for crystals.\r\n");

    const std::string emuDir = out + "emulator/";
    Write(emuDir + "fake-beebem.sh",
        "#!/bin/sh\n"
        "# A stand-in emulator: notes how it was started and leaves a screen picture.\n"
        "here=$(dirname \"$0\")\n"
        "echo \"$(date '+%F %T') started in $(pwd) with: $*\" >> \"$here/runs.log\"\n"
        "[ -f \"$here/screen.jpg.sample\" ] && cp \"$here/screen.jpg.sample\" \"$here/screen.jpg\"\n"
        "exit 0\n");
    ::chmod((emuDir + "fake-beebem.sh").c_str(), 0755);
    Write(emuDir + "screen.jpg.sample", MakePicture(320, 256, 7));
    std::vector<std::string> romsCfg = {"OS12", "BASIC2"};
    for (int i = 2; i <= 16; ++i)
        romsCfg.push_back(i == 16 ? "RAM" : "EMPTY");
    romsCfg.push_back("M128\\MOS");
    for (int i = 18; i <= 33; ++i)
        romsCfg.push_back(i < 22 ? "M128\\BASIC4" : "EMPTY");
    Write(emuDir + "ROMS.CFG", JoinLinesCrLf(romsCfg));
    Write(emuDir + "discs/.keep", "");
    Write(emuDir + "roms/.keep", "");
    Write(out + "DFSROMS/DFS.ROM", MakeRom("Demo DFS placeholder"));
    Write(out + "DFSROMS/E00DFS.ROM", MakeRom("Demo E00 DFS placeholder"));

    EmuRecord emu;
    emu.EmuName = "Fake BeebEm";
    emu.EmuUrl = home + "emulator/fake-beebem.sh";
    emu.CommandLineString = "-disc \"%IMAGE%\"";
    emu.EnvVarName = "BEEBEM_DEMO";
    emu.EnvVarValue = "1";
    emu.DiskWorkingDir = home + "emulator/discs/";
    emu.DiskFilename = "game";
    emu.RomWorkingDir = home + "emulator/roms/";
    emu.RomFilename = "game";
    emu.RomFileExt = ".rom";
    emu.CleanDiskWorkingDir = true;
    emu.CleanRomWorkingDir = true;
    emu.ProcessRomsCfgModelB = true;
    emu.HandleDfs = true;
    c.EmuList.push_back(emu);

    FilterRecord favourites;
    favourites.FilterName = "Favourites";
    favourites.FFavourite = FavouriteCondition::fcTrue;
    FilterRecord arcade;
    arcade.FilterName = "Arcade games";
    arcade.FType = "Arcade";
    c.FilterList = {favourites, arcade};
    for (const char* publisher : {"Acme Micro", "Blue Sky", "Quill Software"})
        c.Publishers.Add(publisher);
    for (const char* type : {"Adventure", "Arcade", "Education", "Utility"})
        c.ProgramTypes.Add(type);
    c.LastProgramDir = home + "programs/";
    c.Options.CompatibilityWarning = true;
    c.Options.E00DfsWarning = true;
    c.Options.CopyPicture = true;
    c.Options.PictureUrl = home + "emulator/screen.jpg";
    c.Options.AskAddToList = true;
    c.LastEmu = "Fake BeebEm";

    ForceDirectories(out + "Data");
    // Picture locations are written for the pictures beside the images in this output.
    for (auto& p : c.ProgramList)
        p.FileUrl.replace(0, home.size(), out);
    std::string programsXml = ProgramsFileBytes(c);
    for (std::size_t pos = 0; (pos = programsXml.find(out, pos)) != std::string::npos; pos += home.size())
        programsXml.replace(pos, out.size(), home);
    if (!WriteFileAtomic(out + kProgramsFile, programsXml) || !SaveOptionsFile(c)) {
        std::cerr << "Cannot write the demo catalogue into " << out << "Data\n";
        return 1;
    }
    std::cout << "demo written to " << argv[1] << " for " << home << "\n";
    return 0;
}
