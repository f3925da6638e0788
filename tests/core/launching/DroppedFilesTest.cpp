#include "launching/DroppedFiles.h"

#include "platform/FileSystem.h"
#include "support/FakeEmulator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorbix;
using namespace vorbix::test;

namespace {

using Texts = std::vector<std::string>;

class DropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir / "emu/discs");
        std::filesystem::create_directories(dir / "emu/roms");
        EmuRecord emu;
        emu.EmuName = "BeebEm";
        emu.EmuUrl = WriteFakeEmulator(dir.path());
        emu.DiskWorkingDir = dir / "emu/discs/";
        emu.RomWorkingDir = dir / "emu/roms/";
        cat.EmuList.push_back(emu);
        ProgramRecord p;
        p.ProgramName = "Elite";
        p.FileUrl = dir.Write("games/Elite.ssd", "elite");
        p.EmuWarningEmus = {"BeebEm"};
        p.EmuWarningTexts = {"slow"};
        cat.ProgramList.push_back(p);
        cat.Options.CompatibilityWarning = true;
        input.SelectorText = "BeebEm";
        input.SelectorEntries = {"BeebEm"};
        input.SelectedPIdx = 0;
    }

    DropResult Drop(const Texts& files)
    {
        input.Files = files;
        DropResult r = HandleDroppedFiles(input, cat, prompts, shell);
        shell.WaitForAll();
        return r;
    }

    TempDir dir;
    Catalogue cat;
    EmulatorShell shell;
    LaunchPrompts prompts{shell};
    DropInput input;
};

const char* const kJpegAdvice =
    "Make sure a program is selected as well as the Picture tab sheet or the Box Cover tab before dropping a JPEG file";

} // namespace

TEST_F(DropTest, ImageIsRunAndMayBeAddedOnlyTheFirstFileCounts)
{
    const std::string rom = dir.Write("drop/Hopper.ROM", "rom");
    const std::string disc = dir.Write("drop/Other.ssd", "disc");
    cat.Options.AskAddToList = true;
    prompts.QueueAnswer(MessageAnswer::Yes);
    DropResult r = Drop({rom, disc, dir / "drop/x.txt"});
    EXPECT_TRUE(r.Launched);
    EXPECT_EQ(r.Launch.Outcome, LaunchOutcome::Finished);
    EXPECT_EQ(dir.Read("emu/roms/Hopper.ROM"), "rom"); // the ROM folder, no warning
    EXPECT_FALSE(dir.Exists("emu/discs/Other.ssd"));
    EXPECT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(prompts.Texts(), Texts{"Add Hopper.ROM to the list?"});
    EXPECT_EQ(prompts.shown[0].request.Icon, MessageIcon::Question);
    EXPECT_TRUE(r.OpenProgramEditor);
    EXPECT_EQ(r.NewProgramPath, rom);

    prompts.shown.clear();
    prompts.QueueAnswer(MessageAnswer::No);
    r = Drop({disc});
    EXPECT_FALSE(r.OpenProgramEditor);
    EXPECT_EQ(dir.Read("emu/discs/Other.ssd"), "disc");

    // No question without AskAddToList.
    cat.Options.AskAddToList = false;
    prompts.shown.clear();
    Drop({disc});
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DropTest, FailedLaunchStillAsksToAdd)
{
    cat.Options.AskAddToList = true;
    input.SelectorText = "";
    const std::string disc = dir.Write("drop/Other.dsd", "disc");
    prompts.QueueAnswer(MessageAnswer::Yes);
    DropResult r = Drop({disc});
    EXPECT_EQ(prompts.Texts(), (Texts{"Error: No emulator selected", "Add Other.dsd to the list?"}));
    EXPECT_TRUE(r.Launch.ClearSelectorText);
    EXPECT_TRUE(r.OpenProgramEditor);
}

TEST_F(DropTest, JpegBecomesPictureOrBoxCoverByTheTabShown)
{
    const std::string jpg = dir.Write("drop/shot.JPG", "JPEGDATA");
    input.ShownTab = DetailsTab::Picture;
    DropResult r = Drop({jpg});
    EXPECT_TRUE(r.RefreshDetails);
    EXPECT_FALSE(r.Launched);
    EXPECT_EQ(dir.Read("games/Elite.jpg"), "JPEGDATA");
    EXPECT_TRUE(dir.Exists("drop/shot.JPG"));

    input.ShownTab = DetailsTab::BoxCover;
    Drop({dir.Write("drop/box.jpg", "BOX")});
    EXPECT_EQ(dir.Read("games/Elite-box.jpg"), "BOX");
    EXPECT_TRUE(prompts.shown.empty());

    // Overwriting asks; No keeps the old picture.
    prompts.QueueAnswer(MessageAnswer::No);
    r = Drop({dir.Write("drop/box2.jpg", "BOX2")});
    EXPECT_EQ(prompts.Texts(), Texts{"Overwrite file " + dir / "games/Elite-box.jpg" + "?"});
    EXPECT_TRUE(prompts.shown[0].request.DefaultNo); // Enter keeps the old picture
    EXPECT_FALSE(r.RefreshDetails);
    EXPECT_EQ(dir.Read("games/Elite-box.jpg"), "BOX");
    prompts.shown.clear();
    Drop({dir / "drop/box2.jpg"});
    EXPECT_EQ(dir.Read("games/Elite-box.jpg"), "BOX2");
}

TEST_F(DropTest, JpegRefusalsAndOtherFiles)
{
    const std::string jpg = dir.Write("drop/shot.jpg", "JPEGDATA");
    input.ShownTab = DetailsTab::Information;
    Drop({jpg});
    input.ShownTab = DetailsTab::Picture;
    input.SelectedPIdx = -1;
    Drop({jpg});
    EXPECT_EQ(prompts.Errors(), (Texts{kJpegAdvice, kJpegAdvice}));
    EXPECT_FALSE(dir.Exists("games/Elite.jpg"));

    // A missing dropped picture fails to copy.
    input.SelectedPIdx = 0;
    prompts.shown.clear();
    Drop({dir / "drop/gone.jpg"});
    EXPECT_EQ(prompts.Errors(), Texts{"Cannot copy file " + dir / "drop/gone.jpg" + " to " + dir / "games/Elite.jpg"});

    prompts.shown.clear();
    DropResult r = Drop({dir.Write("drop/shot.jpeg", "x"), jpg});
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "box"); // shown directly, not through the error box
    EXPECT_EQ(prompts.shown[0].request.Caption, "Error");
    EXPECT_EQ(prompts.shown[0].request.Icon, MessageIcon::Stop);
    EXPECT_EQ(prompts.shown[0].request.Text, "Only disk/rom images and JPEG pictures can be dropped");
    EXPECT_FALSE(r.RefreshDetails);
    EXPECT_FALSE(dir.Exists("games/Elite.jpg"));

    prompts.shown.clear();
    r = Drop({});
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(r.Launched);
}

// A picture belongs beside its program's image; without an image file, or with a name that
// names no folder here, there is nowhere to put it, and nothing is written (not at "/.jpg",
// not at "/" + the name, not in the folder the tests run in).
TEST_F(DropTest, JpegForAProgramWithoutAnImageFileIsRefused)
{
    const std::string jpg = dir.Write("drop/shot.jpg", "JPEGDATA");
    const auto before = dir.Contents();
    for (const char* image : {"", "VorbixNoFolderTest.ssd", "games/Elite.ssd", "C:\\Games\\Elite.ssd"}) {
        cat.ProgramList[0].FileUrl = image;
        for (const DropOrigin origin : {DropOrigin::Mouse, DropOrigin::Handed}) {
            input.Origin = origin;
            prompts.shown.clear();
            const DropResult r = Drop({jpg});
            EXPECT_EQ(prompts.Texts(), Texts{"Error: Elite has no image file, so its picture has no place to go."})
                << image;
            EXPECT_FALSE(r.RefreshDetails);
        }
    }
    EXPECT_EQ(dir.Contents(), before);
    EXPECT_FALSE(PathExists("/.jpg"));
    EXPECT_FALSE(PathExists("/VorbixNoFolderTest.jpg"));
    EXPECT_FALSE(PathExists("games/Elite.jpg"));
    EXPECT_FALSE(std::filesystem::exists("C:\\Games\\Elite.jpg"));
}
