#include "launching/EmulatorPresets.h"

#include "catalogue/OptionsFile.h"
#include "launching/EmulatorCheck.h"
#include "platform/FileSystem.h"
#include "support/Builders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorbix;
using vorbix::test::SetMode;
using vorbix::test::TempDir;

namespace {

std::string Executable(const TempDir& dir, const std::string& name, unsigned mode = 0755)
{
    std::string path = dir.Write(name, "#!/bin/sh\nexit 0\n");
    SetMode(path, mode);
    return path;
}

std::vector<std::string> RomsCfgLines(std::size_t count)
{
    std::vector<std::string> lines{"# BBC Model B"};
    for (std::size_t i = 0; i < count; ++i)
        lines.emplace_back(i == 0 ? "OS12.ROM" : "EMPTY");
    return lines;
}

} // namespace

TEST(EmulatorPresets, EachPresetFillsEveryFieldAndCreatesNothingUntilAsked)
{
    TempDir dir;
    // b2 and mame on PATH (mame also in the games folder, which comes second), b-em only in
    // the games folder, beebjit on PATH but not executable and beebem only in a relative PATH
    // entry, which names a different folder for every working folder: those two keep their
    // plain names.
    const std::string b2 = Executable(dir, "bin/b2");
    const std::string mame = Executable(dir, "bin/mame");
    Executable(dir, "games/mame");
    const std::string bem = Executable(dir, "games/b-em");
    Executable(dir, "bin/beebjit", 0644);
    Executable(dir, "rel/beebem");
    const std::filesystem::path started = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    PresetEnvironment environment{"rel::" + dir / "missing" + ":" + dir / "bin", dir / "cache", dir / "home",
        dir / "games"};
    const auto before = dir.Contents();

    ASSERT_EQ(EmulatorPresetNames(),
        (std::vector<std::string>{"b2", "B-Em", "beebjit", "BeebEm", "MAME BBC Model B (disc)",
            "MAME BBC Model B (tape)", "MAME BBC Model B (ROM)", "MAME BBC Master 128 (disc)"}));
    struct Expected {
        std::string url;
        std::string folder;
        std::string commandLine;
        bool romsCfg = false;
    };
    const std::string mameBoot = " -autoboot_delay 2 -autoboot_command \"%BOOT%\\n\"";
    const Expected expected[] = {
        {b2, "b2", "-0 %IMAGE% -b"},
        {bem, "b-em", "-disc %IMAGE% -autoboot"},
        {"beebjit", "beebjit", "-0 %IMAGE% -autoboot"},
        {"beebem", "beebem", "%IMAGE%", true},
        {mame, "mame-bbcb", "bbcb -flop1 %IMAGE%" + mameBoot},
        {mame, "mame-bbcb-tape",
            "bbcb -cass %IMAGE% -autoboot_delay 2 -autoboot_command \"*TAPE\\nCHAIN LEFT$(STR$0,0)\\n\""},
        {mame, "mame-bbcb-rom", "bbcb -rom1 %IMAGE%"},
        {mame, "mame-bbcm", "bbcm -flop1 %IMAGE%" + mameBoot},
    };
    const std::vector<std::string> names = EmulatorPresetNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        EmuRecord record;
        record.EmuName = names[i];
        record.EmuUrl = expected[i].url;
        record.CommandLineString = expected[i].commandLine;
        record.DiskWorkingDir = record.RomWorkingDir = dir / "cache/vorbix/" + expected[i].folder + "/";
        record.CleanDiskWorkingDir = record.CleanRomWorkingDir = true;
        record.ProcessRomsCfgModelB = expected[i].romsCfg;
        EXPECT_EQ(EmulatorPreset(names[i], environment), record);
    }
    std::filesystem::current_path(started);
    EXPECT_FALSE(EmulatorPreset("MAME", environment));
    EXPECT_FALSE(EmulatorPreset("b2 ", environment));

    // A relative or empty $XDG_CACHE_HOME is not used: the cache is then $HOME/.cache.
    for (const std::string cache : {"cache", ""}) {
        environment.XdgCacheHome = cache;
        EXPECT_EQ(EmulatorPreset("b2", environment)->DiskWorkingDir, dir / "home/.cache/vorbix/b2/");
    }
    EXPECT_EQ(dir.Contents(), before);

    // Applying a preset makes its folder; one that cannot be made is named.
    const EmuRecord bbcb = *EmulatorPreset("MAME BBC Model B (disc)", environment);
    EXPECT_TRUE(CreateWorkingFolders(bbcb).Ok());
    EXPECT_TRUE(DirectoryExists(dir / "home/.cache/vorbix/mame-bbcb/"));
    EmuRecord blocked = bbcb;
    blocked.RomWorkingDir = dir / "bin/b2/roms/";
    const Status refused = CreateWorkingFolders(blocked);
    ASSERT_FALSE(refused.Ok());
    EXPECT_EQ(refused.Message(), "Cannot create folder " + dir / "bin/b2/roms/");
}

TEST(EmulatorPresets, TheElementIsTheOptionsFilesOwn)
{
    PresetEnvironment environment{"", "/c", "/h", ""};
    const EmuRecord record = *EmulatorPreset("BeebEm", environment);
    const std::string element = EmulatorElementBytes(record);
    EXPECT_EQ(element,
        test::CrLfLines({"<emulator>", "  <emu-name>BeebEm</emu-name>", "  <emu-url>beebem</emu-url>",
            "  <commandline-string>%IMAGE%</commandline-string>", "  <environment-var>",
            "    <environment-var-name></environment-var-name>", "    <environment-var-value></environment-var-value>",
            "  </environment-var>", "  <environment-var-ss>", "    <environment-var-ss-name></environment-var-ss-name>",
            "    <environment-var-ss-value></environment-var-ss-value>", "  </environment-var-ss>",
            "  <environment-var-ds>", "    <environment-var-ds-name></environment-var-ds-name>",
            "    <environment-var-ds-value></environment-var-ds-value>", "  </environment-var-ds>",
            "  <disk-working-dir>/c/vorbix/beebem/</disk-working-dir>", "  <disk-filename></disk-filename>",
            "  <rom-working-dir>/c/vorbix/beebem/</rom-working-dir>", "  <rom-filename></rom-filename>",
            "  <rom-file-ext></rom-file-ext>", "  <dfs-name>DFS.ROM</dfs-name>",
            "  <e00dfs-name>E00DFS.ROM</e00dfs-name>", "  <clean-disk-working-dir>true</clean-disk-working-dir>",
            "  <clean-rom-working-dir>true</clean-rom-working-dir>",
            "  <process-romscfg-modelb>true</process-romscfg-modelb>",
            "  <process-romscfg-master128>false</process-romscfg-master128>", "  <handle-dfs>false</handle-dfs>",
            "</emulator>"}));
    // The same lines as in the file, there four deeper.
    Catalogue catalogue;
    catalogue.EmuList.push_back(record);
    std::string indented;
    for (const std::string& line : SplitLines(element))
        indented += "    " + line + "\r\n";
    EXPECT_NE(OptionsFileBytes(catalogue).find("  <emulators>\r\n" + indented + "  </emulators>\r\n"),
        std::string::npos);
}

TEST(EmulatorCheck, EveryProblemOfABrokenDefinitionIsListedAndNoneOfAGoodOne)
{
    TempDir dir;
    Catalogue catalogue = test::CatalogueIn(dir.path());
    catalogue.ProgramList.push_back(test::MakeProgram("Acornsoft", "Elite", "", dir / "games/elite.ssd"));
    dir.Write("games/elite.ssd", "disc");
    dir.Write("DFSROMS/DFS.ROM", "dfs");
    dir.Write("DFSROMS/E00DFS.ROM", "e00");
    dir.Write("emu/ROMS.CFG", test::LfLines(RomsCfgLines(17)));
    dir.Write("work/.keep", "");
    EmuRecord good;
    good.EmuName = "b2";
    good.EmuUrl = Executable(dir, "emu/b2");
    good.CommandLineString = "-0 %IMAGE% -b";
    good.DiskWorkingDir = dir / "work";
    good.RomWorkingDir = dir / "work/";
    good.ProcessRomsCfgModelB = good.HandleDfs = true;
    const auto before = dir.Contents();
    EXPECT_EQ(CheckEmulator(good, catalogue), std::vector<std::string>{});

    // Everything wrong at once: an executable without its mode, b2 handed a bare file, a disk
    // folder that is missing, a ROM folder that holds the catalogue's images (under another
    // spelling), one DFS ROM image gone and ROMS.CFG one entry short of the Model B section.
    EmuRecord broken = good;
    SetMode(good.EmuUrl, 0644);
    broken.CommandLineString = "\"%IMAGE%\"";
    broken.DiskWorkingDir = dir / "missing/";
    broken.RomWorkingDir = dir / "work/../games";
    dir.Write("emu/ROMS.CFG", test::LfLines(RomsCfgLines(16)));
    std::filesystem::remove(dir / "DFSROMS/E00DFS.ROM");
    EXPECT_EQ(CheckEmulator(broken, catalogue),
        (std::vector<std::string>{"The emulator file " + good.EmuUrl + " is not executable",
            "b2 given only %IMAGE% hands the disc to a b2 that is already running and ends at once: use -0 %IMAGE% -b",
            "The disk working folder " + dir / "missing/" + " does not exist",
            "The ROM working folder " + dir / "work/../games/"
                + " holds images of the catalogue (Elite among them): a working copy could take the place of one",
            "ROMS.CFG processing is on, but cannot process file " + dir / "emu/ROMS.CFG" + ": too few lines",
            "DFS handling is on, but the DFS ROM image " + dir / "DFSROMS/E00DFS.ROM" + " is missing"}));

    // No executable at all, no %IMAGE% beside empty working folders: the ROM one's place
    // (the emulator's folder) cannot be written to, the disk one's (the cache) can; and no
    // ROMS.CFG for the Master 128.
    EmuRecord bare;
    bare.EmuUrl = dir / "emu/beebem";
    bare.CommandLineString = "-b";
    bare.ProcessRomsCfgMaster128 = true;
    std::filesystem::remove(dir / "emu/ROMS.CFG");
    SetMode(dir / "emu", 0555);
    const std::vector<std::string> found = CheckEmulator(bare, catalogue);
    SetMode(dir / "emu", 0755);
    EXPECT_EQ(found,
        (std::vector<std::string>{"Cannot find the emulator file " + dir / "emu/beebem",
            "The command line has no %IMAGE% and the disk and ROM working folders are empty: the emulator is not "
            "told which image to run",
            "The ROM working folder " + dir / "emu/"
                + " (the emulator's own folder, as no working folder is set) cannot be written to",
            "ROMS.CFG processing is on, but cannot find file " + dir / "emu/ROMS.CFG"}));

    // A name that only starts with b2 may take a bare file; an empty file name, and one
    // empty working folder.
    dir.Write("emu/ROMS.CFG", test::LfLines(RomsCfgLines(17)));
    dir.Write("DFSROMS/E00DFS.ROM", "e00");
    SetMode(good.EmuUrl, 0755);
    EmuRecord near = good;
    near.EmuUrl = Executable(dir, "emu/b2x");
    near.CommandLineString = "%IMAGE%";
    EXPECT_EQ(CheckEmulator(near, catalogue), std::vector<std::string>{});
    near.EmuUrl.clear();
    near.CommandLineString = "-b";
    near.DiskWorkingDir.clear();
    near.ProcessRomsCfgModelB = false;
    EXPECT_EQ(CheckEmulator(near, catalogue),
        (std::vector<std::string>{"No emulator file is set",
            "The command line has no %IMAGE% and the disk working folder is empty: the emulator is not told which "
            "image to run"}));
    // The check wrote nothing (the files changed above are the test's own).
    std::filesystem::remove(dir / "emu/b2x");
    EXPECT_EQ(dir.Contents(), before);
}
