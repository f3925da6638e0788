// vorbix-cli add-folder and relocate, run as the real program on generated folders.

#include "catalogue/Main_LoadSaveUnit.h"
#include "collection/ImageMatching.h"

#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace vorbix;
using vorbix::test::RunProcess;
using vorbix::test::TempDir;

namespace {

test::ProcessOutput Cli(const std::vector<std::string>& args)
{
    std::vector<std::string> argv{VORBIX_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv);
}

std::string DatEntry(const std::string& game, const std::string& bytes)
{
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", Crc32Of(bytes));
    return "<game name=\"" + game + "\"><rom name=\"x.ssd\" size=\"" + std::to_string(bytes.size()) + "\" crc=\"" + crc
        + "\"/></game>";
}

} // namespace

TEST(CliCollection, AddFolderProposesSavesAndThenFindsNothingNew)
{
    TempDir dir;
    const std::string app = dir / "app/";
    std::filesystem::create_directories(app);
    const std::string images = dir / "images/";
    dir.Write("images/Superior/Repton 3 (1988)(Superior Software)[a].ssd", "r3");
    dir.Write("images/disc1.SSD", "listed bytes");
    const std::string dat = dir.Write("tosec.dat",
        "<?xml version=\"1.0\"?><datafile>" + DatEntry("Citadel (1985)(Superior Software)", "listed bytes")
            + "</datafile>");

    // The folder named from the current one: the paths proposed are full ones all the same.
    const auto dry = RunProcess({"/bin/sh", "-c",
        "cd '" + dir.path() + "' && exec '" VORBIX_CLI_PATH "' --appdir '" + app + "' add-folder images --dat '" + dat
            + "' --dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out,
        "list\ttosec.dat\t1 file\n"
        "add\tRepton 3\tSuperior Software\tfile name\tnew publisher, not in the lists\t"
            + images
            + "Superior/Repton 3 (1988)(Superior Software)[a].ssd\n"
              "add\tCitadel\tSuperior Software\tlist\tnew publisher, tosec.dat\t"
            + images
            + "disc1.SSD\n"
              "2 images found: 2 to add, 1 not in the lists\nNothing saved (--dry-run).\n");
    EXPECT_FALSE(std::filesystem::exists(app + "Data"));

    const auto added = Cli({"--appdir", app, "add-folder", images, "--dat", dat});
    EXPECT_EQ(added.status, 0) << added.err;
    const auto programs = Cli({"--appdir", app, "programs"});
    EXPECT_EQ(programs.out,
        "0\tSuperior Software\tRepton 3\t\t" + images + "Superior/Repton 3 (1988)(Superior Software)[a].ssd\n"
            + "1\tSuperior Software\tCitadel\t\t" + images + "disc1.SSD\n");
    EXPECT_EQ(Cli({"--appdir", app, "info"}).out.find("publishers: 1\n") != std::string::npos, true);
    const auto again = Cli({"--appdir", app, "add-folder", images});
    EXPECT_EQ(again.out, "2 images found: 2 already in the catalogue\n");

    EXPECT_EQ(Cli({"--appdir", app, "add-folder"}).status, 2);
    EXPECT_EQ(Cli({"--appdir", app, "add-folder", images, "--dat"}).status, 2);
    const auto missing = Cli({"--appdir", app, "add-folder", dir / "none"});
    EXPECT_EQ(missing.status, 3);
    EXPECT_EQ(missing.err, "Error: Cannot find folder " + dir / "none" + "\n");
    const auto badList = Cli({"--appdir", app, "add-folder", images, "--dat", dir / "app/Data/programs.xml"});
    EXPECT_EQ(badList.status, 3);
    EXPECT_NE(badList.err.find("is neither a MAME software list nor a Logiqx DAT file"), std::string::npos);

    // The MAME lists this machine has are read whole (they come with MAME's data package).
    const std::string mame = "/usr/share/games/mame/hash/bbcb_flop.xml";
    if (std::filesystem::exists(mame)) {
        const auto real = Cli({"--appdir", app, "add-folder", images, "--dat", mame, "--dry-run"});
        EXPECT_EQ(real.status, 0) << real.err;
        EXPECT_EQ(real.out.rfind("list\tbbcb_flop.xml\t", 0), 0u) << real.out;
        EXPECT_GT(std::stoul(real.out.substr(real.out.find('\t', 5) + 1)), 200u) << real.out;
    }
}

TEST(CliCollection, RelocateMovesAWindowsCatalogueOnlyWithoutDryRun)
{
    TempDir dir;
    const std::string app = dir.path();
    Catalogue catalogue;
    catalogue.AppDir = app;
    catalogue.ProgramList.push_back(ProgramRecord{"Elite", "C:\\Beeb\\Acornsoft\\Elite.ssd", "Acornsoft", ""});
    catalogue.ProgramList.push_back(ProgramRecord{"Zap", "D:\\Other\\Zap.ssd", "Acornsoft", ""});
    catalogue.LastProgramDir = "c:\\beeb\\Acornsoft\\";
    std::filesystem::create_directory(dir / "Data");
    ASSERT_TRUE(SaveProgramsFile(catalogue).Ok());
    ASSERT_TRUE(SaveOptionsFile(catalogue).Ok());
    dir.Write("Beeb/Acornsoft/Elite.ssd", "e");
    const auto before = dir.Contents();

    // The new folder named from the current one is made whole.
    const auto dry = RunProcess({"/bin/sh", "-c",
        "cd '" + dir.path() + "' && exec '" VORBIX_CLI_PATH "' --appdir '" + app
            + "' relocate 'C:\\BEEB' Beeb --dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out,
        "program Elite\tC:\\Beeb\\Acornsoft\\Elite.ssd\t" + dir / "Beeb/Acornsoft/Elite.ssd\texists\n"
            + "remembered folder of programs\tc:\\beeb\\Acornsoft\\\t" + dir / "Beeb/Acornsoft/\texists\n"
            + "2 paths to move, 0 of them missing\nNothing saved (--dry-run).\n");
    EXPECT_EQ(dir.Contents(), before);

    const auto moved = Cli({"--appdir", app, "relocate", "C:\\BEEB", dir / "Beeb"});
    EXPECT_EQ(moved.status, 0) << moved.err;
    EXPECT_EQ(Cli({"--appdir", app, "programs"}).out,
        "0\tAcornsoft\tElite\t\t" + dir / "Beeb/Acornsoft/Elite.ssd\n1\tAcornsoft\tZap\t\tD:\\Other\\Zap.ssd\n");
    EXPECT_EQ(Cli({"--appdir", app, "relocate", "C:\\BEEB", dir / "Beeb"}).out, "0 paths to move, 0 of them missing\n");
    EXPECT_EQ(Cli({"--appdir", app, "relocate", "C:\\BEEB"}).status, 2);
}
