#include "editing/ProgramEditing.h"

#include "catalogue/Utilities.h"

#include "support/Builders.h"
#include "support/FakePrompts.h"

#include <gtest/gtest.h>

using namespace vorbix;
using vorbix::test::MakeProgram;

namespace {

using vorbix::test::Names;

using Texts = std::vector<std::string>;

Catalogue ThreePrograms()
{
    Catalogue c;
    c.ProgramList = {MakeProgram("Acornsoft", "Elite", "Space"), MakeProgram("Superior", "Repton", "Maze"),
        MakeProgram("Superior", "Citadel", "Adventure")};
    return c;
}

} // namespace

TEST(ProgramEditing, AddReplaceAndDeleteSayWhatTheListMustShow)
{
    Catalogue c = ThreePrograms();
    CatalogueChange change = AddProgram(c, MakeProgram("Micro Power", "Frak!"));
    EXPECT_EQ(c.ProgramList.size(), 4u);
    EXPECT_TRUE(c.ProgramsChanged);
    EXPECT_TRUE(change.Programs && change.RebuildProgramList);
    EXPECT_EQ(change.RevealPIdx, 3);

    // Only the type and the favourite mark changed: the rows stay as they are.
    c.ProgramsChanged = false;
    ProgramRecord edited = c.ProgramList[1];
    edited.ProgramType = "Arcade";
    edited.Favourite = true;
    change = ReplaceProgram(c, 1, edited);
    EXPECT_EQ(c.ProgramList[1], edited);
    EXPECT_TRUE(c.ProgramsChanged);
    EXPECT_TRUE(change.Programs);
    EXPECT_FALSE(change.RebuildProgramList);
    EXPECT_EQ(change.RevealPIdx, -1);

    // The publisher in another letter case, or a new name: rebuilt, the program revealed.
    edited.PublisherName = "superior";
    change = ReplaceProgram(c, 1, edited);
    EXPECT_TRUE(change.RebuildProgramList);
    EXPECT_EQ(change.RevealPIdx, 1);
    edited.ProgramName = "Repton 2";
    EXPECT_TRUE(ReplaceProgram(c, 1, edited).RebuildProgramList);
    EXPECT_EQ(ReplaceProgram(c, 4, edited), CatalogueChange{});

    // Changes collected: a later reveal replaces an earlier one, a change without one keeps it.
    CatalogueChange collected = AddProgram(c, ProgramRecord{});
    collected |= ReplaceProgram(c, 4, MakeProgram("", "", "Demo"));
    EXPECT_EQ(collected.RevealPIdx, 4);
    EXPECT_TRUE(collected.RebuildProgramList);

    // Delete asks first; No changes nothing.
    c = ThreePrograms();
    test::FakePrompts prompts;
    prompts.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(DeleteProgram(c, prompts, 1, 2, 3), CatalogueChange{});
    EXPECT_EQ(c.ProgramList.size(), 3u);
    EXPECT_FALSE(c.ProgramsChanged);
    EXPECT_EQ(prompts.Texts(), Texts{"Delete Repton?"});
    EXPECT_EQ(prompts.shown[0].request.Buttons, MessageButtons::YesNo);

    // Yes: the record goes, and the row that moved up is revealed after the rebuild.
    change = DeleteProgram(c, prompts, 1, 1, 3); // the middle row
    EXPECT_EQ(c.ProgramList[1].ProgramName, "Citadel");
    EXPECT_TRUE(change.Programs && change.RebuildProgramList && c.ProgramsChanged);
    EXPECT_EQ(change.RevealRow, 1);
    collected = change;
    collected |= DeleteProgram(c, prompts, 1, 1, 2); // the last row
    EXPECT_EQ(collected.RevealRow, 0);
    EXPECT_EQ(DeleteProgram(c, prompts, 0, 0, 1).RevealRow, -1); // the only row
    EXPECT_TRUE(c.ProgramList.empty());
}

TEST(ProgramEditing, ProposalsFromThePathAndTheImageChooser)
{
    const NameList publishers = Names({"Superior", "Acornsoft"});
    ProgramRecord proposed = NewProgramRecord("D:\\Beeb\\Superior\\RepTon3.ssd", publishers);
    EXPECT_EQ(proposed, MakeProgram("Superior", "Rep Ton3", "", "D:\\Beeb\\Superior\\RepTon3.ssd"));
    EXPECT_EQ(NewProgramRecord("", publishers), ProgramRecord{});
    EXPECT_EQ(ProposedPublisher("C:\\Acornsoft\\Elite.ssd", publishers), ""); // top-level folder
    EXPECT_EQ(ProposedPublisher("/beeb/Ultimate/Jetpac.ssd", publishers), "");
    // Of two matching publishers the later in the list is proposed.
    EXPECT_EQ(ProposedPublisher("/beeb/ACORNSOFT/Elite.ssd", Names({"AcornSoft", "Acorn Soft"})), "AcornSoft");

    Catalogue c;
    c.Publishers = publishers;
    c.LastProgramDir = "/home/me/beeb/";
    const std::string images = "Disk/rom images|*.SSD; *.DSD; *.IMG; *.BBC; *.ADF; *.UEF; *.ZIP;*.ROM";
    test::FakePrompts prompts;
    ProgramRecord working;
    EXPECT_FALSE(BrowseProgramImage(prompts, c, working)); // cancelled: nothing changes
    EXPECT_EQ(working, ProgramRecord{});
    EXPECT_EQ(prompts.fileRequests.back(), (FileOpenRequest{images, "/home/me/beeb/", "", true}));

    prompts.QueueChoice("/games/Superior/ChuckieEgg.SSD");
    EXPECT_TRUE(BrowseProgramImage(prompts, c, working));
    EXPECT_EQ(working, MakeProgram("Superior", "Chuckie Egg", "", "/games/Superior/ChuckieEgg.SSD"));
    EXPECT_EQ(c.LastProgramDir, "/games/Superior/");

    // A name and a publisher already there stay; only the file and the folder change.
    working.PublisherName = "Acornsoft";
    prompts.QueueChoice("C:\\Beeb\\Superior\\Repton.ssd");
    BrowseProgramImage(prompts, c, working);
    EXPECT_EQ(prompts.fileRequests.back(), (FileOpenRequest{images, "/games/Superior/", "ChuckieEgg.SSD", true}));
    EXPECT_EQ(working, MakeProgram("Acornsoft", "Chuckie Egg", "", "C:\\Beeb\\Superior\\Repton.ssd"));
    EXPECT_EQ(c.LastProgramDir, "C:\\Beeb\\Superior\\");
}

TEST(ProgramEditing, CategoryBoxesAndWarnings)
{
    const NameList publishers = Names({"Acornsoft", "Superior"});
    EXPECT_EQ(CheckCategoryText(publishers, "acornsoft", ""), "acornsoft");
    EXPECT_EQ(CheckCategoryText(publishers, "Acorn", ""), "");
    EXPECT_EQ(CheckCategoryText(NameList{}, "Acornsoft", "Superior"), "");
    EXPECT_EQ(CheckCategoryText(publishers, "Gone Ltd", "Gone Ltd"), "Gone Ltd");
    EXPECT_EQ(CheckCategoryText(publishers, "Gone Ltd!", "Gone Ltd"), "");

    ProgramRecord p;
    p.EmuWarningEmus = {"Old", "BeebEm", "b2", "BeebEm"};
    p.EmuWarningTexts = {"old text", "first", "slow", "second"};
    EXPECT_EQ(GetWarning(p, "BeebEm"), "second"); // the last row of the name
    EXPECT_EQ(GetWarning(p, "beebem"), "");

    SetWarning(p, "BeebEm", " no  sound "); // every row of the name, spaces kept
    EXPECT_EQ(p.EmuWarningTexts, (Texts{"old text", " no  sound ", "slow", " no  sound "}));
    SetWarning(p, "b2", "   "); // only spaces: removed
    SetWarning(p, "BeebEm", "");
    EXPECT_EQ(p.EmuWarningEmus, Texts{"Old"}); // the undefined emulator's row survives
    EXPECT_EQ(p.EmuWarningTexts, Texts{"old text"});
    SetWarning(p, "Elkulator", " "); // nothing to add
    SetWarning(p, "Elkulator", "x");
    SetWarning(p, "Elkulator", "xy");
    EXPECT_EQ(p.EmuWarningEmus, (Texts{"Old", "Elkulator"}));
    EXPECT_EQ(p.EmuWarningTexts, (Texts{"old text", "xy"}));

    // On opening: the first emulator, sorted ignoring case, that has a warning.
    std::vector<EmuRecord> emus(3);
    emus[0].EmuName = "Zed";
    emus[1].EmuName = "elkulator";
    emus[2].EmuName = "BeebEm";
    EXPECT_EQ(SortedEmulatorNames(emus), (Texts{"BeebEm", "elkulator", "Zed"}));
    p.EmuWarningEmus = {"Zed", "elkulator", "BeebEm"};
    p.EmuWarningTexts = {"z", "e", ""};
    EXPECT_EQ(FirstWarningShown(emus, p), (WarningShown{"elkulator", "e"}));
    p.EmuWarningTexts = {"", "", ""};
    EXPECT_EQ(FirstWarningShown(emus, p), WarningShown{});
    EXPECT_EQ(FirstWarningShown({}, p), WarningShown{});

    const Texts entries = SortedEmulatorNames(emus);
    EXPECT_EQ(WarningSelectorOnLeave(entries, "ZED", "BeebEm"), "ZED");
    EXPECT_EQ(WarningSelectorOnLeave(entries, "Ze", "BeebEm"), "BeebEm");
}

TEST(ProgramEditing, CommentsAsStored)
{
    EXPECT_EQ(StoredComments({"a", "", " b", ""}), (Texts{"a", "", " b"}));
    EXPECT_EQ(StoredComments({"a", "", ""}), (Texts{"a", ""})); // only the last empty line goes
    EXPECT_EQ(StoredComments({""}), Texts{});
    EXPECT_EQ(StoredComments({}), Texts{});

    // A line longer than an entry may hold is split, not cut short.
    const std::string x(MaxCommentLineLength, 'x');
    EXPECT_EQ(StoredComments({x}), Texts{x});
    EXPECT_EQ(StoredComments({x + x + "y"}), (Texts{x, x, "y"}));
    // UTF-8 counts characters and never cuts inside one; other text counts bytes.
    std::string e;
    for (std::size_t i = 0; i < MaxCommentLineLength; ++i)
        e += "\xC3\xA9";
    EXPECT_EQ(StoredComments({e + "\xC3\xA9!"}), (Texts{e, "\xC3\xA9!"}));
    const std::string latin(MaxCommentLineLength, '\xE9');
    EXPECT_EQ(StoredComments({latin + "\xE9"}), (Texts{latin, "\xE9"}));
}
