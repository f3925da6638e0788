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
            ASSERT_TRUE(SaveCatalogue(c, false).Ok());
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
        ASSERT_TRUE(SaveCatalogue(c, false).Ok());
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

        // The image given to run is no file either: refused before anything is copied.
        MakeSpecial(dir / "Odd.ssd", fifo);
        const test::ProcessOutput odd =
            Cli(dir.path(), {"run", "--emulator", "BeebEm", "--file", dir / "Odd.ssd", "--yes"});
        EXPECT_EQ(odd.status, 1);
        EXPECT_EQ(odd.err, "Error: Cannot open file " + (dir / "Odd.ssd") + ": not a regular file\n");
    }
}

#if defined(__SANITIZE_ADDRESS__)
#define VORBIX_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORBIX_SANITIZED 1
#endif
#endif

TEST(HugeFiles, AJunkProgramsFileLoadsWithinItsSizeAndMemoryThatRunsOutIsASentence)
{
#ifdef VORBIX_SANITIZED
    GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
#endif
    TempDir dir;
    Catalogue c = test::CatalogueIn(dir.path());
    ASSERT_TRUE(SaveCatalogue(c, false).Ok());
    // A tag every three bytes: an index of eight bytes a tag would be over twice the file.
    std::string junk;
    junk.reserve(48u << 20);
    while (junk.size() < (48u << 20))
        junk += "<a>";
    dir.Write(kProgramsFile, junk);
    // The address space the program needs empty, then the file once more: the load holds
    // the file's text once, also while a damaged file is compared with its kept copies.
    const auto limited = [&](long kilobytes) {
        return RunProcess({"/bin/sh", "-c",
            "ulimit -v " + std::to_string(kilobytes) + "; exec '" + VORBIX_CLI_PATH + "' --appdir '" + dir.path()
                + "' info"});
    };
    const test::ProcessOutput fits = limited((80 << 10) + (48 << 10));
    EXPECT_EQ(fits.status, 0) << fits.err;
    EXPECT_NE(fits.err.find("is damaged: it holds far more tags than a catalogue file does"), std::string::npos)
        << fits.err;

    // A file larger than the memory left: the file and its size, never a type name.
    std::filesystem::resize_file(dir / kProgramsFile, 150u << 20);
    const test::ProcessOutput refused = limited((80 << 10) + (75 << 10));
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.err, "Error: Not enough memory to read " + (dir / kProgramsFile) + " (150.0 MB)\n");
}
