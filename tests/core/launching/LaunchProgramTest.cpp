#include "launching/LaunchProgram.h"

#include "platform/FileSystem.h"
#include "platform/JpegDecoder.h"
#include "support/Builders.h"
#include "support/FakeEmulator.h"
#include "support/PngBytes.h"
#include "support/TempDir.h"
#include "support/Writers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace vorbix;
using namespace vorbix::test;

namespace {

using Texts = std::vector<std::string>;

// Model B and Master 128 blocks; the DFS ROM in the first Model B slot.
Texts RomsCfgLines()
{
    Texts lines{"OS12.ROM", "DFS.ROM", "BASIC2.ROM"};
    for (int i = 3; i <= 16; ++i)
        lines.push_back("EMPTY");
    lines.push_back("M128\\MOS.ROM");
    for (int i = 18; i <= 33; ++i)
        lines.push_back("EMPTY");
    return lines;
}

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = dir.path();
        cat.AppDir = dir / "app/";
        dir.Write("app/DFSROMS/DFS.ROM", "normal dfs");
        dir.Write("app/DFSROMS/E00DFS.ROM", "e00 dfs");
        std::filesystem::create_directories(dir / "emu/discs");
        std::filesystem::create_directories(dir / "emu/roms");
        std::filesystem::create_directories(dir / "control");
        emu.EmuName = "BeebEm";
        emu.EmuUrl = WriteFakeEmulator(root);
        emu.DiskWorkingDir = dir / "emu/discs/";
        emu.RomWorkingDir = dir / "emu/roms/";
        cat.EmuList.push_back(emu);
        AddProgram("Elite", "games/Elite.ssd", "elite disc");
    }

    std::size_t AddProgram(const std::string& name, const std::string& file, const std::string& bytes)
    {
        ProgramRecord p;
        p.ProgramName = name;
        p.FileUrl = dir.Write(file, bytes);
        cat.ProgramList.push_back(p);
        return cat.ProgramList.size() - 1;
    }

    EmuRecord& Emu() { return cat.EmuList.back(); }
    // VBX_SS=single for single-sided images, VBX_DS=double for double-sided ones.
    void SideVariables()
    {
        Emu().EnvVarSsName = "VBX_SS";
        Emu().EnvVarSsValue = "single";
        Emu().EnvVarDsName = "VBX_DS";
        Emu().EnvVarDsValue = "double";
    }

    LaunchInput Input(LaunchMode mode = LaunchMode::ListItem, int pidx = 0)
    {
        LaunchInput in;
        in.SelectorText = "BeebEm";
        in.SelectorEntries = {"Other", "BeebEm"};
        in.Mode = mode;
        in.SelectedPIdx = pidx;
        return in;
    }
    LaunchInput Dropped(const std::string& file, int pidx)
    {
        LaunchInput in = Input(LaunchMode::DroppedFile, pidx);
        in.DroppedFile = file;
        return in;
    }

    LaunchResult Run(const LaunchInput& in, FileWriter& writer = SystemFileWriter())
    {
        LaunchResult r = LaunchProgram(in, cat, prompts, shell, writer);
        shell.WaitForAll();
        return r;
    }
    LaunchResult Run(int pidx = 0) { return Run(Input(LaunchMode::ListItem, pidx)); }

    std::map<std::string, Texts> Log() { return ReadRunLog(root); }
    void Control(const std::string& name) { dir.Write("control/" + name, ""); }

    TempDir dir;
    std::string root;
    Catalogue cat;
    EmuRecord emu;
    EmulatorShell shell;
    LaunchPrompts prompts{shell};
};

std::pair<int, int> DecodedSize(const std::string& jpeg)
{
    const Result<RgbImage> image = DecodeJpeg(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size());
    return image ? std::make_pair(image.Value().Width, image.Value().Height) : std::make_pair(0, 0);
}

} // namespace

TEST_F(LaunchTest, DiskImageWithNamedTargetRunsCopiesBackCleansUpAndFetchesThePicture)
{
    Emu().DiskFilename = "DISC";
    Emu().CleanDiskWorkingDir = true;
    cat.Options.CopyDiskBack = true;
    cat.Options.CopyPicture = true;
    cat.Options.PictureUrl = dir / "emu/screen.jpg";
    Control("save");
    Control("picture");

    LaunchResult r = Run();
    auto log = Log();
    EXPECT_EQ(log["cwd"], Texts{dir / "emu"});
    EXPECT_EQ(log["discs"], Texts{"DISC.ssd "});
    EXPECT_EQ(log.count("arg"), 0u);
    EXPECT_EQ(prompts.Texts(), Texts{"Press OK after running emulator"});
    EXPECT_EQ(prompts.shown[0].request.Caption, "");
    EXPECT_EQ(dir.Read("games/Elite.ssd"), "elite disc+saved");
    EXPECT_FALSE(dir.Exists("emu/discs/DISC.ssd"));
    EXPECT_EQ(dir.Read("games/Elite.jpg"), "NEWPIC");
    EXPECT_TRUE(dir.Exists("emu/screen.jpg"));
    EXPECT_EQ(r.Outcome, LaunchOutcome::Finished);
    EXPECT_TRUE(r.RefreshDetails);
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].file, Emu().EmuUrl);
    EXPECT_EQ(shell.starts[0].workingDir, dir / "emu/");
}

TEST_F(LaunchTest, UnnamedTargetKeepsItsNameAndNeedsNoOkWithoutAfterRunSteps)
{
    Emu().CommandLineString = "-b \"%IMAGE%\" --title \"Two words\"";
    LaunchResult r = Run();
    EXPECT_EQ(r.Outcome, LaunchOutcome::Finished);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(dir.Read("emu/discs/Elite.ssd"), "elite disc");
    EXPECT_EQ(Log()["arg"], (Texts{"-b", dir / "emu/discs/Elite.ssd", "--title", "Two words"}));

    // Without program the placeholder's word and the switch before it are left out, and
    // nothing is placed.
    std::filesystem::remove(dir / "emu/run.log");
    Run(Input(LaunchMode::NoProgram, -1));
    EXPECT_EQ(Log()["arg"], (Texts{"--title", "Two words"}));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(LaunchTest, EnvironmentVariablesBySideCountAndPlainForEveryLaunch)
{
    Emu().EnvVarName = "VBX_PLAIN";
    Emu().EnvVarValue = "plain";
    SideVariables();
    const int dsd = static_cast<int>(AddProgram("Two", "games/Two.DSD", "two sides"));
    const int uef = static_cast<int>(AddProgram("Tape", "games/Tape.uef", "tape"));

    Run(Input(LaunchMode::NoProgram, -1));
    EXPECT_EQ(Log()["plain"], Texts{"plain"});
    EXPECT_EQ(Log()["ss"], Texts{"unset"});
    EXPECT_EQ(Log()["ds"], Texts{"unset"});

    Run(dsd);
    EXPECT_EQ(Log()["ds"], Texts{"double"});
    EXPECT_EQ(Log()["ss"], Texts{"unset"});

    Run(0);
    EXPECT_EQ(Log()["ss"], Texts{"single"});
    EXPECT_EQ(Log()["ds"], Texts{"double"}); // from the earlier launch

    shell.variables.clear();
    Run(uef);
    EXPECT_EQ(shell.variables, (std::vector<std::pair<std::string, std::string>>{{"VBX_PLAIN", "plain"}}));
    EXPECT_EQ(dir.Read("emu/discs/Tape.uef"), "tape");
    EXPECT_EQ(Log()["ss"], Texts{"single"});
    // The shell keeps them; this process's own environment is left as it was.
    for (const char* name : {"VBX_PLAIN", "VBX_SS", "VBX_DS"})
        EXPECT_EQ(std::getenv(name), nullptr) << name;
}

TEST_F(LaunchTest, RomImageIsEnteredInRomsCfgForTheRunAndRemovedAfterwards)
{
    dir.Write("emu/ROMS.CFG", CrLfLines(RomsCfgLines()));
    Emu().ProcessRomsCfgModelB = true;
    Emu().CleanRomWorkingDir = true;
    Emu().RomFilename = "GAME";
    Emu().RomFileExt = "bin"; // stored without its dot
    const int rom = static_cast<int>(AddProgram("Game", "games/Hopper.rom", "rom image"));

    Run(rom);
    auto log = Log();
    EXPECT_EQ(log["roms"], Texts{"GAME.bin "});
    Texts during = RomsCfgLines();
    during[3] = "GAME.BIN";
    std::string joined;
    for (const auto& l : during)
        joined += l + "|";
    EXPECT_EQ(log["romscfg"], Texts{joined});
    EXPECT_EQ(prompts.Texts(), Texts{"Press OK after running emulator"});
    EXPECT_FALSE(dir.Exists("emu/roms/GAME.bin"));
    EXPECT_EQ(dir.Read("emu/ROMS.CFG"), CrLfLines(RomsCfgLines()));

    // Without names the image keeps its own, and that name, upper-cased, goes in.
    Emu().RomFilename.clear();
    Emu().RomFileExt.clear();
    Emu().CleanRomWorkingDir = false;
    prompts.shown.clear();
    Run(rom);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(dir.Read("emu/roms/Hopper.rom"), "rom image");
    EXPECT_EQ(ReadFileLines(dir / "emu/ROMS.CFG").Value()[3], "HOPPER.ROM");
}

TEST_F(LaunchTest, E00DfsReplacesTheDfsForTheRunAndTheNormalOneComesBack)
{
    dir.Write("emu/ROMS.CFG", CrLfLines(RomsCfgLines()));
    dir.Write("emu/roms/DFS.ROM", "normal dfs");
    cat.DfsRomsPresent = true;
    cat.Options.E00DfsWarning = true;
    cat.ProgramList[0].E00Dfs = true;
    Emu().HandleDfs = true;
    Emu().ProcessRomsCfgModelB = true;

    LaunchResult r = Run();
    EXPECT_EQ(r.Outcome, LaunchOutcome::Finished);
    auto log = Log();
    EXPECT_EQ(log["roms"], Texts{"E00DFS.ROM "});
    EXPECT_EQ(log["romscfg"][0].substr(0, 20), "OS12.ROM|E00DFS.ROM|");
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].request.Caption, "E00 DFS warning");
    EXPECT_EQ(prompts.shown[0].request.Text, "Make sure sideways ROM/RAM can be written to");
    EXPECT_EQ(prompts.shown[0].request.Icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompts.shown[1].request.Text, "Press OK after running emulator");
    EXPECT_EQ(dir.Read("emu/roms/DFS.ROM"), "normal dfs");
    EXPECT_FALSE(dir.Exists("emu/roms/E00DFS.ROM"));
    EXPECT_EQ(dir.Read("emu/ROMS.CFG"), CrLfLines(RomsCfgLines()));

    // A normal program gets the normal DFS and no after-run step.
    cat.ProgramList[0].E00Dfs = false;
    dir.Write("emu/roms/E00DFS.ROM", "e00 dfs");
    prompts.shown.clear();
    Run();
    EXPECT_EQ(Log()["roms"], Texts{"DFS.ROM "});
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(dir.Read("emu/ROMS.CFG"), CrLfLines(RomsCfgLines()));

    // Without the DFS ROM images at start-up HandleDfs has no effect.
    cat.DfsRomsPresent = false;
    cat.ProgramList[0].E00Dfs = true;
    prompts.shown.clear();
    Run();
    EXPECT_EQ(Log()["roms"], Texts{"DFS.ROM "});
    EXPECT_EQ(prompts.Texts(), Texts{"Make sure sideways ROM/RAM can be written to"});
}

TEST_F(LaunchTest, EmulatorChecksStopBeforeAnythingHappens)
{
    LaunchInput in = Input();
    in.SelectorText = "Missing";
    LaunchResult r = Run(in);
    EXPECT_EQ(prompts.Errors(), Texts{"No emulator selected"});
    EXPECT_EQ(r.Outcome, LaunchOutcome::Stopped);
    EXPECT_TRUE(r.ClearSelectorText);
    EXPECT_TRUE(r.UpdateCommandStates);

    in.SelectorText = "beebem"; // passes the selector, fails the exact lookup
    prompts.shown.clear();
    r = Run(in);
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot find emulator beebem"});
    EXPECT_FALSE(r.ClearSelectorText);

    // Of two emulators with one name the later one is started.
    EmuRecord second = Emu();
    second.EmuUrl = dir / "emu/missing";
    cat.EmuList.push_back(second);
    prompts.shown.clear();
    Run();
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot find emulator file " + dir / "emu/missing"});
    EXPECT_TRUE(shell.starts.empty());
    EXPECT_FALSE(dir.Exists("emu/discs/Elite.ssd"));
}

TEST_F(LaunchTest, ProgramChecksAndCopyFailures)
{
    LaunchResult r = Run(-1);
    EXPECT_EQ(prompts.Errors(), Texts{"No program selected"});
    EXPECT_TRUE(r.UpdateCommandStates);
    prompts.shown.clear();
    Run(7); // a stale PIdx
    EXPECT_EQ(prompts.Errors(), Texts{"No program selected"});

    std::filesystem::remove(dir / "games/Elite.ssd");
    prompts.shown.clear();
    Run();
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot find program file " + dir / "games/Elite.ssd"});

    dir.Write("games/Elite.ssd", "elite disc");
    Emu().DiskWorkingDir = dir / "emu/nowhere/";
    prompts.shown.clear();
    r = Run();
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot copy file " + dir / "games/Elite.ssd"});
    EXPECT_EQ(r.Outcome, LaunchOutcome::Stopped);
    EXPECT_TRUE(shell.starts.empty());
}

TEST_F(LaunchTest, CompatibilityWarningsAskForTheExactEmulatorName)
{
    cat.Options.CompatibilityWarning = true;
    ProgramRecord& p = cat.ProgramList[0];
    p.EmuWarningEmus = {"BeebEm", "beebem", "BeebEm"};
    p.EmuWarningTexts = {"slow", "other case", "no sound"};

    prompts.QueueAnswer(MessageAnswer::Yes);
    prompts.QueueAnswer(MessageAnswer::No);
    LaunchResult r = Run();
    EXPECT_EQ(r.Outcome, LaunchOutcome::Declined);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].request.Caption, "BeebEm Warning");
    EXPECT_EQ(prompts.shown[0].request.Text, "Elite: slow\rContinue?");
    EXPECT_EQ(prompts.shown[0].request.Buttons, MessageButtons::YesNo);
    EXPECT_EQ(prompts.shown[0].request.Icon, MessageIcon::Question);
    EXPECT_EQ(prompts.shown[1].request.Text, "Elite: no sound\rContinue?");
    EXPECT_FALSE(dir.Exists("emu/discs/Elite.ssd"));
    EXPECT_TRUE(shell.starts.empty());

    // Both answered Yes: the launch goes on; a dropped file is never warned about.
    prompts.shown.clear();
    EXPECT_EQ(Run().Outcome, LaunchOutcome::Finished);
    EXPECT_EQ(prompts.shown.size(), 2u);
    LaunchInput drop = Dropped(dir / "games/Elite.ssd", -1);
    prompts.shown.clear();
    Run(drop);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(LaunchTest, AfterRunFailuresAreReportedAndTheLaunchGoesOn)
{
    Emu().CleanDiskWorkingDir = true;
    cat.Options.CopyDiskBack = true;
    Control("block"); // the emulator leaves a folder where the image was
    dir.Write("emu/ROMS.CFG", CrLfLines(RomsCfgLines()));
    cat.DfsRomsPresent = true;
    cat.ProgramList[0].E00Dfs = true;
    Emu().HandleDfs = true;
    Emu().ProcessRomsCfgModelB = true;
    Emu().DfsName = "nosuch/DFS.ROM"; // the normal DFS ROM cannot be put back

    LaunchResult r = Run();
    const std::string target = dir / "emu/discs/Elite.ssd";
    // The working copy could not come back, so it is moved aside rather than cleaned up.
    EXPECT_EQ(prompts.Errors(),
        (Texts{"Cannot copy " + target + " to " + dir / "games/Elite.ssd" + "; the working copy was kept as " + target
                + ".kept-1",
            "Cannot copy file " + dir / "app/DFSROMS/DFS.ROM" + " to " + dir / "emu/roms/nosuch/DFS.ROM"}));
    EXPECT_EQ(r.Outcome, LaunchOutcome::Finished);
    EXPECT_EQ(dir.Read("games/Elite.ssd"), "elite disc");
    EXPECT_TRUE(dir.Exists("emu/discs/Elite.ssd.kept-1/x"));
    // The normal DFS name goes into the first slot whether or not its copy succeeded.
    Texts cfg = RomsCfgLines();
    cfg.insert(cfg.begin() + 1, "NOSUCH/DFS.ROM");
    cfg.erase(cfg.begin() + 17);
    EXPECT_EQ(dir.Read("emu/ROMS.CFG"), CrLfLines(cfg));
}

TEST_F(LaunchTest, AFullDiskFailsTheStepsThatWriteAndLeavesEveryFileWhole)
{
    // The disk takes files of up to 10 bytes: the working copies ("elite disc", "rom image")
    // fit, the changed disk and ROMS.CFG do not.
    FailingWriter fullDisk(10);
    cat.Options.CopyDiskBack = true;
    Control("save");
    LaunchResult r = Run(Input(), fullDisk);
    const std::string target = dir / "emu/discs/Elite.ssd";
    EXPECT_EQ(prompts.Errors(),
        (Texts{"Cannot copy " + target + " to " + dir / "games/Elite.ssd" + "; the working copy was kept as " + target
            + ".kept-1"}));
    EXPECT_EQ(r.Outcome, LaunchOutcome::Finished);
    EXPECT_TRUE(r.StepFailed);
    EXPECT_EQ(dir.Read("games/Elite.ssd"), "elite disc");
    EXPECT_EQ(dir.Read("emu/discs/Elite.ssd.kept-1"), "elite disc+saved");

    const std::string cfg = CrLfLines(RomsCfgLines());
    dir.Write("emu/ROMS.CFG", cfg);
    Emu().ProcessRomsCfgModelB = true;
    const int rom = static_cast<int>(AddProgram("Game", "games/Hopper.rom", "rom image"));
    prompts.shown.clear();
    r = Run(Input(LaunchMode::ListItem, rom), fullDisk);
    ASSERT_EQ(prompts.Errors().size(), 1u);
    EXPECT_NE(prompts.Errors()[0].find(dir / "emu/ROMS.CFG"), std::string::npos) << prompts.Errors()[0];
    EXPECT_TRUE(r.StepFailed);
    EXPECT_EQ(Log()["roms"], Texts{"Hopper.rom "}); // the emulator still ran
    EXPECT_EQ(dir.Read("emu/ROMS.CFG"), cfg);

    // The same runs on a disk with room fail nothing.
    prompts.shown.clear();
    EXPECT_FALSE(Run(rom).StepFailed);
    EXPECT_TRUE(prompts.Errors().empty());
}

TEST_F(LaunchTest, NoRunLosesADiskNorOverwritesAnotherProgramsImage)
{
    Emu().CleanDiskWorkingDir = true;
    cat.Options.CopyDiskBack = true;
    Control("empty"); // the emulator leaves the working copy empty
    Run();
    const std::string target = dir / "emu/discs/Elite.ssd";
    EXPECT_EQ(prompts.Errors(),
        Texts{"The working copy " + target + " is empty; " + dir / "games/Elite.ssd"
            + " was not replaced and the working copy was kept as " + target + ".kept-1"});
    EXPECT_EQ(dir.Read("games/Elite.ssd"), "elite disc");
    EXPECT_TRUE(dir.Exists("emu/discs/Elite.ssd.kept-1"));

    // Another program's image where this one's working copy would go: refused before
    // anything is copied, started or cleaned up.
    prompts.shown.clear();
    AddProgram("Elite Two", "emu/discs/Elite.ssd", "second elite");
    EXPECT_EQ(Run(0).Outcome, LaunchOutcome::Stopped);
    EXPECT_EQ(prompts.Errors(),
        Texts{"Cannot run " + dir / "games/Elite.ssd" + ": the emulator's working file " + target
            + " is the same file as " + target + " (the image of Elite Two in the catalogue)"});
    EXPECT_EQ(dir.Read("emu/discs/Elite.ssd"), "second elite");
    EXPECT_EQ(shell.starts.size(), 1u);
}

TEST_F(LaunchTest, DfsCopyFailureStopsAndKeepsTheRomPlaced)
{
    std::filesystem::remove(dir / "app/DFSROMS/E00DFS.ROM");
    cat.DfsRomsPresent = true;
    Emu().HandleDfs = true;
    LaunchInput drop = Dropped(dir.Write("drop/Hopper.ROM", "rom"), -1);
    cat.Options.UseE00Dfs = true;
    LaunchResult r = Run(drop);
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot copy file " + dir / "app/DFSROMS/E00DFS.ROM"});
    EXPECT_EQ(r.Outcome, LaunchOutcome::Stopped);
    EXPECT_EQ(dir.Read("emu/roms/Hopper.ROM"), "rom");
    EXPECT_TRUE(shell.starts.empty());
}

TEST_F(LaunchTest, PictureCopyQuestionsAndFailures)
{
    cat.Options.CopyPicture = true;
    cat.Options.PictureUrl = dir / "emu/screen.jpg";
    Emu().CleanDiskWorkingDir = true;

    // The emulator saved no picture: clean-up has run, then the launch stops.
    LaunchResult r = Run();
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot find picture file " + dir / "emu/screen.jpg"});
    EXPECT_EQ(r.Outcome, LaunchOutcome::Stopped);
    EXPECT_FALSE(dir.Exists("emu/discs/Elite.ssd"));

    Control("picture");
    dir.Write("games/Elite.jpg", "OLDPIC");
    prompts.shown.clear();
    prompts.QueueAnswer(MessageAnswer::No);
    r = Run();
    EXPECT_EQ(prompts.Texts(),
        (Texts{"Press OK after running emulator", "Overwrite file " + dir / "games/Elite.jpg" + "?"}));
    EXPECT_EQ(prompts.shown[1].request.Caption, "Confirm");
    EXPECT_EQ(r.Outcome, LaunchOutcome::Declined);
    EXPECT_FALSE(r.RefreshDetails);
    EXPECT_EQ(dir.Read("games/Elite.jpg"), "OLDPIC");

    prompts.shown.clear();
    r = Run(); // answered Yes
    EXPECT_EQ(dir.Read("games/Elite.jpg"), "NEWPIC");
    EXPECT_TRUE(r.RefreshDetails);

    // A new picture in a read-only folder cannot be made (an existing writable one would
    // be overwritten there, as the platform's copy does).
    std::filesystem::remove(dir / "games/Elite.jpg");
    vorbix::test::SetMode(dir / "games", 0555);
    prompts.shown.clear();
    r = Run();
    vorbix::test::SetMode(dir / "games", 0755);
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot copy file " + dir / "emu/screen.jpg" + " to " + dir / "games/Elite.jpg"});
    EXPECT_EQ(r.Outcome, LaunchOutcome::Stopped);
    EXPECT_FALSE(dir.Exists("games/Elite.jpg"));

    // A PNG snapshot (known by its content, whatever its name) is stored as a JPEG of its
    // size; a damaged one is reported and nothing is stored.
    dir.Write("control/picture", PngBytes(3, 2));
    prompts.shown.clear();
    r = Run();
    EXPECT_TRUE(prompts.Errors().empty()) << prompts.Errors().front();
    const std::string jpeg = dir.Read("games/Elite.jpg");
    EXPECT_EQ(jpeg.substr(0, 3), "\xff\xd8\xff");
    EXPECT_EQ(DecodedSize(jpeg), std::make_pair(3, 2));
    dir.Write("control/picture", PngBytes(3, 2).substr(0, 40));
    std::filesystem::remove(dir / "games/Elite.jpg");
    prompts.shown.clear();
    r = Run();
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot convert the PNG picture " + dir / "emu/screen.jpg" + " to JPEG"});
    EXPECT_FALSE(dir.Exists("games/Elite.jpg"));
}

TEST_F(LaunchTest, MissingRomsCfgIsReportedAndTheEmulatorStillRuns)
{
    Emu().ProcessRomsCfgMaster128 = true;
    const int rom = static_cast<int>(AddProgram("Game", "games/Game.rom", "rom"));
    LaunchResult r = Run(rom);
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot find file " + dir / "emu/ROMS.CFG"});
    EXPECT_EQ(r.Outcome, LaunchOutcome::Finished);
    EXPECT_EQ(shell.starts.size(), 1u);
}

TEST_F(LaunchTest, ImagesWithoutExtensionEmptyWorkingFoldersAndImagesAlreadyInPlace)
{
    Emu().CleanDiskWorkingDir = true;
    cat.Options.CopyDiskBack = true;
    const int bare = static_cast<int>(AddProgram("Bare", "games/README", "bare"));
    Run(bare);
    EXPECT_TRUE(prompts.shown.empty()); // neither disk nor ROM: no after-run step
    EXPECT_EQ(dir.Read("emu/discs/README"), "bare");

    // An empty disk working folder is a private folder in the user's cache, made for the
    // run; nothing goes into the emulator's own folder.
    const std::string cacheBefore = std::getenv("XDG_CACHE_HOME") != nullptr ? std::getenv("XDG_CACHE_HOME") : "";
    ::setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
    Emu().DiskWorkingDir.clear();
    Emu().CommandLineString = "%IMAGE%";
    Emu().CleanDiskWorkingDir = false;
    Run(0);
    cacheBefore.empty() ? ::unsetenv("XDG_CACHE_HOME") : ::setenv("XDG_CACHE_HOME", cacheBefore.c_str(), 1);
    EXPECT_EQ(Log()["arg"], Texts{dir / "cache/vorbix/work/Elite.ssd"});
    EXPECT_EQ(dir.Read("cache/vorbix/work/Elite.ssd"), "elite disc");
    EXPECT_EQ(std::filesystem::status(dir / "cache/vorbix/work").permissions() & std::filesystem::perms::all,
        std::filesystem::perms::owner_all);
    EXPECT_FALSE(dir.Exists("emu/Elite.ssd"));
    EXPECT_EQ(prompts.Texts(), Texts{"Press OK after running emulator"});
    Emu().CleanDiskWorkingDir = true;
    Emu().CommandLineString.clear();

    // The catalogue's image already lies where the emulator expects it: it stays.
    Emu().DiskWorkingDir = dir / "games"; // stored without its separator
    prompts.shown.clear();
    Run(0);
    EXPECT_EQ(prompts.Texts(), Texts{"Press OK after running emulator"});
    EXPECT_EQ(dir.Read("games/Elite.ssd"), "elite disc");
}

TEST_F(LaunchTest, WaitingForTheEmulatorInsteadOfAskingForOk)
{
    cat.Options.CopyDiskBack = true;
    Control("save");
    LaunchInput in = Input();
    in.WaitForEmulatorExit = true;
    LaunchResult r = LaunchProgram(in, cat, prompts, shell);
    EXPECT_EQ(r.Outcome, LaunchOutcome::Finished);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(shell.waits, 1);
    EXPECT_EQ(dir.Read("games/Elite.ssd"), "elite disc+saved");
}

// The window's shell watches every emulator: one that failed soon after its start is told
// once OK is pressed, under its name and with its error output, and the after-run steps
// still run.
TEST_F(LaunchTest, AnEmulatorThatFailedSoonIsToldAfterThePlainBox)
{
    cat.Options.CopyDiskBack = true;
    Control("save");
    dir.Write("control/fail", "no ROM found\nbye\n");
    EmulatorShell watched(StartedPrograms::Watched);
    LaunchPrompts okAfterEnd(watched);
    const LaunchResult r = LaunchProgram(Input(), cat, okAfterEnd, watched);
    EXPECT_TRUE(r.StepFailed);
    EXPECT_EQ(okAfterEnd.Texts(),
        (Texts{"Press OK after running emulator", "Error: BeebEm ended with status 3\nno ROM found\nbye"}));
    EXPECT_EQ(dir.Read("games/Elite.ssd"), "elite disc+saved");
}

TEST_F(LaunchTest, RunEmulatorWithAnEmptyCatalogueOnlyChecksTheEmulatorAndSetsThePlainVariable)
{
    cat.ProgramList.clear();
    dir.Write("emu/ROMS.CFG", CrLfLines(RomsCfgLines()));
    dir.Write("emu/roms/DFS.ROM", "normal dfs");
    cat.DfsRomsPresent = true;
    cat.Options.UseE00Dfs = true;
    cat.Options.E00DfsWarning = true;
    cat.Options.CompatibilityWarning = true;
    cat.Options.CopyDiskBack = true;
    cat.Options.CopyPicture = true;
    cat.Options.PictureUrl = dir / "emu/screen.jpg";
    Emu().HandleDfs = true;
    Emu().ProcessRomsCfgModelB = true;
    Emu().CleanDiskWorkingDir = true;
    Emu().CleanRomWorkingDir = true;
    Emu().EnvVarName = "VBX_PLAIN";
    Emu().EnvVarValue = "plain";
    SideVariables();

    LaunchResult r = Run(Input(LaunchMode::NoProgram, -1));
    EXPECT_EQ(r.Outcome, LaunchOutcome::Finished);
    EXPECT_FALSE(r.RefreshDetails);
    EXPECT_TRUE(prompts.shown.empty()); // no warning, no "Press OK after running emulator"
    EXPECT_EQ(shell.variables, (std::vector<std::pair<std::string, std::string>>{{"VBX_PLAIN", "plain"}}));
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(Log()["roms"], Texts{"DFS.ROM "}); // the DFS ROM is left as it is
    EXPECT_EQ(dir.Read("emu/ROMS.CFG"), CrLfLines(RomsCfgLines()));
    EXPECT_EQ(Log()["discs"], Texts{""});
}

TEST_F(LaunchTest, DroppedImageUsesTheDropOptionForTheE00DfsNotTheSelectedRecord)
{
    dir.Write("emu/ROMS.CFG", CrLfLines(RomsCfgLines()));
    dir.Write("emu/roms/DFS.ROM", "normal dfs");
    cat.DfsRomsPresent = true;
    cat.Options.E00DfsWarning = true;
    cat.Options.UseE00Dfs = true;
    cat.ProgramList[0].E00Dfs = false; // the selected row does not count for a drop
    Emu().HandleDfs = true;
    Emu().ProcessRomsCfgModelB = true;
    LaunchInput drop = Dropped(dir.Write("drop/Chuckie.SSD", "chuckie"), 0);

    LaunchResult r = Run(drop);
    EXPECT_EQ(r.Outcome, LaunchOutcome::Finished);
    auto log = Log();
    EXPECT_EQ(log["roms"], Texts{"E00DFS.ROM "});
    EXPECT_EQ(log["discs"], Texts{"Chuckie.SSD "});
    EXPECT_EQ(log["romscfg"][0].substr(0, 20), "OS12.ROM|E00DFS.ROM|");
    EXPECT_EQ(prompts.Texts(),
        (Texts{"Make sure sideways ROM/RAM can be written to", "Press OK after running emulator"}));
    EXPECT_EQ(dir.Read("emu/roms/DFS.ROM"), "normal dfs");
    EXPECT_FALSE(dir.Exists("emu/roms/E00DFS.ROM"));
    EXPECT_EQ(dir.Read("emu/ROMS.CFG"), CrLfLines(RomsCfgLines()));

    // Without the drop option the record's E00 DFS mark is not used either.
    cat.Options.UseE00Dfs = false;
    cat.ProgramList[0].E00Dfs = true;
    prompts.shown.clear();
    Run(drop);
    EXPECT_EQ(Log()["roms"], Texts{"DFS.ROM "});
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(LaunchTest, TapeAndZipImagesAreCopiedBackAndCleanedUpLikeDisks)
{
    Emu().CleanDiskWorkingDir = true;
    SideVariables();
    cat.Options.CopyDiskBack = true;
    Control("save");
    for (const char* file : {"games/Tape.uef", "games/Pack.ZIP"}) {
        const int p = static_cast<int>(AddProgram("P", file, "data"));
        prompts.shown.clear();
        shell.variables.clear();
        Run(p);
        EXPECT_EQ(prompts.Texts(), Texts{"Press OK after running emulator"}) << file;
        EXPECT_EQ(dir.Read(file), "data+saved") << file;
        EXPECT_EQ(Log()["discs"], Texts{std::string(file).substr(6) + " "}) << file;
        EXPECT_FALSE(dir.Exists("emu/discs/" + std::string(file).substr(6))) << file;
        EXPECT_TRUE(shell.variables.empty()) << file;
    }
}

TEST_F(LaunchTest, DroppedRomRunsWithRomsCfgAndRomCleanUp)
{
    dir.Write("emu/ROMS.CFG", CrLfLines(RomsCfgLines()));
    Emu().ProcessRomsCfgMaster128 = true;
    Emu().CleanRomWorkingDir = true;
    cat.Options.CompatibilityWarning = true;
    cat.ProgramList[0].EmuWarningEmus = {"BeebEm"};
    cat.ProgramList[0].EmuWarningTexts = {"slow"};
    LaunchInput drop = Dropped(dir.Write("drop/Hopper.rom", "rom"), 0);

    Run(drop);
    Texts during = RomsCfgLines();
    during[25] = "M128\\HOPPER.ROM";
    std::string joined;
    for (const auto& l : during)
        joined += l + "|";
    EXPECT_EQ(Log()["romscfg"], Texts{joined});
    EXPECT_EQ(Log()["roms"], Texts{"Hopper.rom "});
    EXPECT_EQ(prompts.Texts(), Texts{"Press OK after running emulator"});
    EXPECT_FALSE(dir.Exists("emu/roms/Hopper.rom"));
    EXPECT_EQ(dir.Read("drop/Hopper.rom"), "rom");
    EXPECT_EQ(dir.Read("emu/ROMS.CFG"), CrLfLines(RomsCfgLines()));
}

TEST_F(LaunchTest, RomFolderThatIsTheDfsRomsFolderKeepsBothDfsImages)
{
    cat.DfsRomsPresent = true;
    cat.ProgramList[0].E00Dfs = true;
    Emu().HandleDfs = true;
    Emu().RomWorkingDir = dir / "app/DFSROMS/";

    LaunchResult r = Run();
    EXPECT_EQ(r.Outcome, LaunchOutcome::Finished);
    EXPECT_TRUE(prompts.Errors().empty());
    EXPECT_EQ(prompts.Texts(), Texts{"Press OK after running emulator"});
    EXPECT_EQ(dir.Read("app/DFSROMS/DFS.ROM"), "normal dfs");
    EXPECT_EQ(dir.Read("app/DFSROMS/E00DFS.ROM"), "e00 dfs");

    // A DFS name that would put one image over the other is refused before the run.
    cat.ProgramList[0].E00Dfs = false;
    Emu().DfsName = "E00DFS.ROM";
    Emu().E00DfsName = "OTHER.ROM";
    prompts.shown.clear();
    r = Run();
    const std::string e00 = dir / "app/DFSROMS/E00DFS.ROM";
    EXPECT_EQ(prompts.Errors(),
        Texts{"Cannot run " + dir / "games/Elite.ssd" + ": the emulator's working file " + e00 + " is the same file as "
            + e00 + " (a DFS ROM image of the application)"});
    EXPECT_EQ(r.Outcome, LaunchOutcome::Stopped);
    EXPECT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(dir.Read("app/DFSROMS/DFS.ROM"), "normal dfs");
    EXPECT_EQ(dir.Read("app/DFSROMS/E00DFS.ROM"), "e00 dfs");
}

TEST_F(LaunchTest, AWorkingCopyThatCannotComeBackIsKeptAsideUnderANewName)
{
    Emu().DiskFilename = "DISC";
    Emu().CleanDiskWorkingDir = true;
    cat.Options.CopyDiskBack = true;
    const std::string target = dir / "emu/discs/DISC.ssd";
    const std::string image = dir / "games/Elite.ssd";
    // The catalogue's folder goes away while the emulator runs (a stick pulled out), twice.
    dir.Write("control/remove", dir / "games");
    Run();
    dir.Write("games/Elite.ssd", "second disc");
    Run();
    EXPECT_EQ(prompts.Errors(),
        (Texts{"Cannot copy " + target + " to " + image + "; the working copy was kept as " + target + ".kept-1",
            "Cannot copy " + target + " to " + image + "; the working copy was kept as " + target + ".kept-2"}));
    EXPECT_EQ(dir.Read("emu/discs/DISC.ssd.kept-1"), "elite disc");
    EXPECT_EQ(dir.Read("emu/discs/DISC.ssd.kept-2"), "second disc");
    EXPECT_FALSE(dir.Exists("emu/discs/DISC.ssd"));

    // The emulator deleted its working copy: nothing claims to keep it.
    dir.Write("games/Elite.ssd", "third disc");
    dir.Write("control/remove", target);
    prompts.shown.clear();
    Run();
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot copy " + target + " to " + image + ": " + target + " no longer exists"});

    // Without copy back, an emulator that deleted the catalogue's image leaves the working
    // copy as the last copy of the program: the clean-up keeps it.
    cat.Options.CopyDiskBack = false;
    dir.Write("control/remove", image);
    prompts.shown.clear();
    Run();
    EXPECT_EQ(prompts.Errors(), Texts{image + " is missing, so the working copy was kept as " + target + ".kept-3"});
    EXPECT_EQ(dir.Read("emu/discs/DISC.ssd.kept-3"), "third disc");
    EXPECT_EQ(dir.Read("emu/discs/DISC.ssd.kept-1"), "elite disc");
}

TEST_F(LaunchTest, WorkingFilesThatAreCatalogueFilesUnderOtherNamesAreRefused)
{
    Emu().CleanDiskWorkingDir = true;
    Emu().CleanRomWorkingDir = true;
    const std::string target = dir / "emu/discs/Elite.ssd";
    // Another program's image is a link to this launch's working file; a third program's
    // picture is a second hard link to it.
    dir.Write("emu/discs/Elite.ssd", "orbit disc");
    std::filesystem::create_symlink(target, dir / "games/Orbit.ssd");
    cat.ProgramList.push_back({"Orbit", dir / "games/Orbit.ssd"});
    LaunchResult r = Run(0);
    EXPECT_EQ(r.Outcome, LaunchOutcome::Stopped);
    EXPECT_EQ(prompts.Errors(),
        Texts{"Cannot run " + dir / "games/Elite.ssd" + ": the emulator's working file " + target
            + " is the same file as " + dir / "games/Orbit.ssd" + " (the image of Orbit in the catalogue)"});
    std::filesystem::remove(dir / "games/Orbit.ssd");
    const int miner = static_cast<int>(AddProgram("Miner", "pics/Miner.ssd", "miner disc"));
    std::filesystem::create_hard_link(target, dir / "pics/Miner.jpg");
    prompts.shown.clear();
    Run(0);
    EXPECT_EQ(prompts.Errors(),
        Texts{"Cannot run " + dir / "games/Elite.ssd" + ": the emulator's working file " + target
            + " is the same file as " + dir / "pics/Miner.jpg" + " (the picture of Miner in the catalogue)"});
    EXPECT_EQ(dir.Read("emu/discs/Elite.ssd"), "orbit disc");
    EXPECT_EQ(dir.Read("games/Elite.ssd"), "elite disc");

    // The ROM working file is the catalogue's programs file.
    const std::string programs = dir.Write("app/Data/programs.xml", "<programs/>\r\n");
    Emu().RomWorkingDir = dir / "app/Data/";
    Emu().RomFilename = "programs";
    Emu().RomFileExt = ".xml";
    cat.ProgramList[static_cast<std::size_t>(miner)].FileUrl = dir.Write("games/Hopper.rom", "rom");
    prompts.shown.clear();
    Run(miner);
    EXPECT_EQ(prompts.Errors(),
        Texts{"Cannot run " + dir / "games/Hopper.rom" + ": the emulator's working file " + programs
            + " is the same file as " + programs + " (the catalogue's programs file)"});
    EXPECT_EQ(dir.Read("app/Data/programs.xml"), "<programs/>\r\n");
    EXPECT_TRUE(shell.starts.empty());
}
