// FIFOs and devices where the program expects files, through the real program: nothing
// blocks and nothing is read without end; each is "not a regular file".

#include "catalogue/Main_LoadSaveUnit.h"
#include "support/Builders.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace vorbix;
using vorbix::test::RunProcess;
using vorbix::test::TempDir;

namespace {

// The command with a time limit, so that a program that blocks fails the test instead of
// stalling it (status 124).
test::ProcessOutput Cli(const std::string& appDir, std::vector<std::string> args)
{
    args.insert(args.begin(), {"/usr/bin/timeout", "20", VORBIX_CLI_PATH, "--appdir", appDir});
    return RunProcess(args);
}

// Puts a FIFO, or a link to /dev/zero, where the file was.
void MakeSpecial(const std::string& path, bool fifo)
{
    std::filesystem::remove(path);
    if (fifo)
        ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    else
        std::filesystem::create_symlink("/dev/zero", path);
}

} // namespace

TEST(SpecialFiles, CatalogueFilesAndRomsCfgThatAreNoRegularFilesAreRefusedWithoutBlocking)
{
    for (const bool fifo : {true, false}) {
        SCOPED_TRACE(fifo ? "FIFO" : "/dev/zero");
        for (const char* file : {kProgramsFile, kOptionsFile}) {
            TempDir dir;
            Catalogue c = test::CatalogueIn(dir.path());
            ASSERT_TRUE(SaveCatalogue(c, false, "all", "").Ok());
            MakeSpecial(dir / file, fifo);
            const test::ProcessOutput info = Cli(dir.path(), {"info"});
            EXPECT_EQ(info.status, 3);
            EXPECT_EQ(info.err, "Error: Cannot open file " + (dir / file) + ": not a regular file\n");
        }

        // A ROM run whose emulator's ROMS.CFG is no file: the launch says so and goes on.
        TempDir dir;
        Catalogue c = test::CatalogueIn(dir.path());
        EmuRecord emu;
        emu.EmuName = "BeebEm";
        // An emulator that notes the ROMs it finds and never reads its ROMS.CFG.
        emu.EmuUrl =
            dir.Write("emu/beebem", "#!/bin/sh\nls \"$(dirname \"$0\")/roms\" > \"$(dirname \"$0\")/found\"\n");
        test::SetMode(emu.EmuUrl, 0755);
        emu.RomWorkingDir = dir / "emu/roms/";
        emu.ProcessRomsCfgModelB = true;
        c.EmuList.push_back(emu);
        ASSERT_TRUE(SaveCatalogue(c, false, "all", "").Ok());
        std::filesystem::create_directories(dir / "emu/roms");
        dir.Write("Game.rom", "rom");
        MakeSpecial(dir / "emu/ROMS.CFG", fifo);
        const test::ProcessOutput run =
            Cli(dir.path(), {"run", "--emulator", "BeebEm", "--file", dir / "Game.rom", "--yes"});
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find("Error: Cannot open file " + (dir / "emu/ROMS.CFG") + ": not a regular file\n"),
            std::string::npos)
            << run.err;
        EXPECT_EQ(dir.Read("emu/found"), "Game.rom\n");
    }
}
