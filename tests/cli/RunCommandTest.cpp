#include "Cli.h"
#include "catalogue/Main_LoadSaveUnit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

using namespace vorbix;
using vorbix::test::TempDir;

namespace {

// A catalogue in DIR/app with one emulator, a fake script that logs its arguments and
// the VBX_RUN variable and appends "+saved" to the disc it was given, and one program.
class RunCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir / "emu/discs");
        const std::string script = "#!/bin/sh\n"
                                   "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '"
            + dir / "emu/args.log"
            + "'\n"
              "printf '%s' \"${VBX_RUN-unset}\" > '"
            + dir / "emu/env.log"
            + "'\n"
              "[ -n \"$1\" ] && printf '+saved' >> \"$1\"\n"
              "exit 0\n";
        dir.Write("emu/beebem", script);
        vorbix::test::SetMode(dir / "emu/beebem", 0755);

        cat.AppDir = dir / "app/";
        EmuRecord emu;
        emu.EmuName = "BeebEm";
        emu.EmuUrl = dir / "emu/beebem";
        emu.DiskWorkingDir = dir / "emu/discs/";
        emu.CommandLineString = "%IMAGE%";
        emu.EnvVarName = "VBX_RUN";
        emu.EnvVarValue = "yes";
        cat.EmuList.push_back(emu);
        ProgramRecord p;
        p.ProgramName = "Elite";
        p.FileUrl = dir.Write("games/Elite.ssd", "elite");
        p.EmuWarningEmus = {"BeebEm"};
        p.EmuWarningTexts = {"slow"};
        cat.ProgramList.push_back(p);
        cat.Options.CompatibilityWarning = true;
        cat.Options.CopyDiskBack = true;
    }

    int Run(std::vector<std::string> args, const std::string& input = "")
    {
        SaveFiles();
        args.insert(args.begin(), {"--appdir", dir / "app", "run"});
        std::istringstream in(input);
        out.str("");
        err.str("");
        return cli::RunCli(args, out, err, in);
    }

    void SaveFiles()
    {
        cat.LastEmu = "BeebEm";
        const auto saved = SaveCatalogue(cat, false);
        ASSERT_TRUE(saved.Ok()) << saved.Message();
    }

    TempDir dir;
    Catalogue cat;
    std::ostringstream out;
    std::ostringstream err;
};

} // namespace

TEST_F(RunCommandTest, ProgramRunWithWaitCopiesTheChangedDiscBack)
{
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "0", "--yes", "--wait"}), cli::kExitOk) << err.str();
    EXPECT_EQ(dir.Read("emu/args.log"), dir / "emu/discs/Elite.ssd\n");
    EXPECT_EQ(dir.Read("emu/env.log"), "yes");
    EXPECT_EQ(dir.Read("games/Elite.ssd"), "elite+saved");
    EXPECT_NE(err.str().find("Elite: slow Continue? y"), std::string::npos);
    EXPECT_EQ(err.str().find("Press OK"), std::string::npos);
}

TEST_F(RunCommandTest, QuestionsOnTheTerminal)
{
    // The warning answered No: nothing is started.
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "0"}, "n\n"), cli::kExitOk);
    EXPECT_NE(err.str().find("Elite: slow Continue? [y/n] "), std::string::npos);
    EXPECT_FALSE(dir.Exists("emu/discs/Elite.ssd"));

    // Yes, then Enter for the "Press OK" step.
    cat.Options.CopyDiskBack = false;
    cat.EmuList[0].CleanDiskWorkingDir = true;
    cat.EmuList[0].CommandLineString.clear(); // the script, not waited for, leaves the disc alone
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "0"}, "y\n\n"), cli::kExitOk);
    EXPECT_NE(err.str().find("Press OK after running emulator [Enter] "), std::string::npos);
    EXPECT_FALSE(dir.Exists("emu/discs/Elite.ssd"));
}

TEST_F(RunCommandTest, DroppedFileAndNoProgram)
{
    const std::string disc = dir.Write("drop/Other.ssd", "other");
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--file", disc, "--wait"}), cli::kExitOk) << err.str();
    EXPECT_EQ(dir.Read("drop/Other.ssd"), "other+saved");
    EXPECT_EQ(err.str(), ""); // no compatibility warning for a dropped file

    EXPECT_EQ(Run({"--emulator", "BeebEm", "--no-program", "--wait"}), cli::kExitOk);
    EXPECT_EQ(dir.Read("emu/args.log"), "");
    EXPECT_EQ(dir.Read("emu/env.log"), "yes");
}

TEST_F(RunCommandTest, StoppedLaunchesAndUsageErrors)
{
    EXPECT_EQ(Run({"--emulator", "beebem", "--no-program"}), cli::kExitFindings);
    EXPECT_EQ(err.str(), "Error: Cannot find emulator beebem\n");
    EXPECT_EQ(Run({"--emulator", "Nope", "--no-program"}), cli::kExitFindings);
    EXPECT_EQ(err.str(), "Error: No emulator selected\n");
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "5"}), cli::kExitFindings);
    EXPECT_EQ(err.str(), "Error: No program selected\n");
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--file", dir / "none.ssd"}), cli::kExitFindings);
    EXPECT_EQ(err.str(), "Error: Cannot find program file " + dir / "none.ssd" + "\n");

    EXPECT_EQ(Run({"--program", "0"}), cli::kExitUsage);
    EXPECT_EQ(Run({"--emulator", "BeebEm"}), cli::kExitUsage);
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "0", "--no-program"}), cli::kExitUsage);
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "-1"}), cli::kExitUsage);
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "1x"}), cli::kExitUsage);
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--file"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "Unexpected argument --file\n");
}

TEST_F(RunCommandTest, YesWaitsForTheEmulatorAndThePictureQuestionIsAskedOnTheTerminal)
{
    cat.Options.CopyDiskBack = false;
    cat.Options.CopyPicture = true;
    cat.Options.PictureUrl = dir / "emu/screen.jpg";
    cat.EmuList[0].CommandLineString.clear();
    dir.Write("games/Elite.jpg", "OLDPIC");
    // The emulator saves a screen picture each run.
    const std::string takesPicture = "#!/bin/sh\nprintf NEWPIC > '" + dir / "emu/screen.jpg" + "'\n";
    dir.Write("emu/beebem", takesPicture);

    // The warning answered Yes, the run waits for the emulator, the overwrite answered No.
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "0", "--wait"}, "y\nn\n"), cli::kExitOk) << err.str();
    EXPECT_NE(err.str().find("Overwrite file " + dir / "games/Elite.jpg" + "? [y/n] "), std::string::npos);
    EXPECT_EQ(dir.Read("games/Elite.jpg"), "OLDPIC");

    // --yes: every question Yes; with nobody to press Enter the after-run steps wait for
    // the emulator to end instead of asking.
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "0", "--yes"}), cli::kExitOk) << err.str();
    EXPECT_EQ(err.str().find("Press OK after running emulator"), std::string::npos);
    EXPECT_NE(err.str().find("Overwrite file " + dir / "games/Elite.jpg" + "? y\n"), std::string::npos);
    EXPECT_EQ(dir.Read("games/Elite.jpg"), "NEWPIC");

    // A run that saved no picture: the one there is an earlier run's and is not copied,
    // even when it is the same size as a new one would be.
    dir.Write("emu/beebem", "#!/bin/sh\n");
    dir.Write("emu/screen.jpg", "STALE!");
    dir.Write("games/Elite.jpg", "OLDPIC");
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "0", "--yes"}), cli::kExitOk) << err.str();
    EXPECT_NE(err.str().find("The emulator saved no new screen picture\n"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find("Overwrite file"), std::string::npos);
    EXPECT_EQ(dir.Read("games/Elite.jpg"), "OLDPIC");

    // The emulator saved no picture at all: the launch stops with an error.
    std::filesystem::remove(dir / "emu/screen.jpg");
    EXPECT_EQ(Run({"--emulator", "BeebEm", "--program", "0", "--yes"}), cli::kExitFindings);
    EXPECT_NE(err.str().find("Error: Cannot find picture file " + dir / "emu/screen.jpg" + "\n"), std::string::npos);
}

TEST_F(RunCommandTest, AFailedCopyBackIsAnErrorInTheExitStatus)
{
    cat.Options.CompatibilityWarning = false;
    // The catalogue's folder goes away while the emulator runs (a stick pulled out), so
    // the copy back fails.
    dir.Write("emu/beebem",
        "#!/bin/sh\nprintf '+saved' >> \"$1\"\nmv '" + dir / "games" + "' '" + dir / "away" + "'\n");
    const int status = Run({"--emulator", "BeebEm", "--program", "0", "--yes"});
    EXPECT_EQ(status, cli::kExitFindings) << err.str();
    EXPECT_NE(err.str().find("Error: Cannot copy " + dir / "emu/discs/Elite.ssd"), std::string::npos) << err.str();
    EXPECT_EQ(dir.Read("away/Elite.ssd"), "elite");
    EXPECT_EQ(dir.Read("emu/discs/Elite.ssd.kept-1"), "elite+saved"); // the changed disk is kept aside
}

TEST_F(RunCommandTest, RelativeFileIsFoundInTheCurrentFolderAndCopiedBackThere)
{
    dir.Write("drop/Other.ssd", "other");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir / "drop");
    const int status = Run({"--emulator", "BeebEm", "--file", "Other.ssd", "--wait"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(status, cli::kExitOk) << err.str();
    EXPECT_EQ(dir.Read("emu/args.log"), dir / "emu/discs/Other.ssd\n");
    EXPECT_EQ(dir.Read("drop/Other.ssd"), "other+saved");
}
