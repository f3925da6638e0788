#include "browsing/CommandStates.h"
#include "browsing/ProgramDetails.h"
#include "browsing/SelectorEntries.h"
#include "browsing/StatusBarTexts.h"
#include "catalogue/Utilities.h"
#include "fastpath/CollationTable.h"
#include "support/FakePrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vorbix;
using vorbix::test::FakePrompts;
using vorbix::test::RecordingShell;
using vorbix::test::TempDir;

namespace {

ProgramRecord WithLinks(int count)
{
    ProgramRecord p;
    for (int i = 1; i <= count; ++i) {
        p.DocLinkNames.push_back("Doc" + std::to_string(i));
        p.DocLinkUrls.push_back("/docs/" + std::to_string(i) + ".pdf");
    }
    return p;
}

} // namespace

TEST(SelectorEntries, SortedIgnoringCaseWithDuplicatesAndValidation)
{
    std::vector<FilterRecord> filters(4);
    filters[0].FilterName = "games";
    filters[1].FilterName = "Adventure";
    filters[2].FilterName = "Games";
    filters[3].FilterName = "games";
    const StringList entries = FilterSelectorEntries(filters);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0], "all");
    EXPECT_EQ(entries[1], "Adventure");
    EXPECT_TRUE(SameTextIgnoreCase(entries[2], "games") && SameTextIgnoreCase(entries[4], "games"));
    EXPECT_EQ(FilterSelectorEntries({}), StringList{"all"});

    EXPECT_EQ(ValidFilterSelectorText(entries, "ALL"), "ALL");
    EXPECT_EQ(ValidFilterSelectorText(entries, "adventure"), "adventure");
    EXPECT_EQ(ValidFilterSelectorText(entries, "Adventures"), "all");

    std::vector<EmuRecord> emus(3);
    emus[0].EmuName = "b2";
    emus[1].EmuName = "BeebEm";
    emus[2].EmuName = "Arculator";
    EXPECT_EQ(SortedEmulatorNames(emus), (StringList{"Arculator", "b2", "BeebEm"}));
    EXPECT_EQ(ValidEmulatorSelectorText(SortedEmulatorNames(emus), "beebem"), "beebem");
    EXPECT_EQ(ValidEmulatorSelectorText(SortedEmulatorNames(emus), "MAME"), "");
}

TEST(CommandStates, EnabledStates)
{
    EXPECT_EQ(UpdateCommandStates(true, "BeebEm"), (CommandStates{true, true, true, true, true}));
    EXPECT_EQ(UpdateCommandStates(true, ""), (CommandStates{false, false, true, true, true}));
    EXPECT_EQ(UpdateCommandStates(false, "BeebEm"), (CommandStates{false, true, false, false, true}));
    EXPECT_EQ(UpdateCommandStates(false, ""), (CommandStates{false, false, false, false, true}));
}

TEST(StatusBarTexts, FivePanels)
{
    ProgramRecord p;
    p.ProgramType = "Game";
    p.Favourite = true;
    p.E00Dfs = true;
    p.Comments = {"x"};
    EXPECT_EQ(StatusBarTexts(p, 1), (StatusPanels{" Game", " Favourite", " E00", "!", "1 Programs  "}));
    ProgramRecord q;
    q.EmuWarningEmus = {"B"};
    q.EmuWarningTexts = {"T"};
    EXPECT_EQ(StatusBarTexts(q, 12345), (StatusPanels{" ", "", "", "", "12345 Programs  "}));
    EXPECT_EQ(StatusBarTexts(WithLinks(1), 0)[3], "!");
}

TEST(ProgramDetails, PicturesTextsAndLinkColumns)
{
    TempDir dir;
    ProgramRecord p = WithLinks(9);
    p.FileUrl = dir / "a.b.ssd";
    p.Comments = {"one", "", "three"};
    p.EmuWarningEmus = {"B", "Master"};
    p.EmuWarningTexts = {"T"}; // damaged: the second warning has no text
    p.ProgramType = "Game";
    dir.Write("a.b-box.jpg", "x");

    ProgramDetails d = DetailsFor(p, 3);
    EXPECT_TRUE(d.HasProgram);
    EXPECT_EQ(d.PictureFile, dir / "a.b.jpg");
    EXPECT_FALSE(d.PictureExists);
    EXPECT_TRUE(d.ShowPlaceholderPicture());
    EXPECT_EQ(d.BoxCoverFile, dir / "a.b-box.jpg");
    EXPECT_TRUE(d.BoxCoverExists);
    EXPECT_EQ(d.CommentLines, p.Comments);
    EXPECT_EQ(d.WarningLines, (StringList{"B: T", "Master: "}));
    ASSERT_EQ(d.LeftLinks.size(), 7u);
    EXPECT_EQ(d.LeftLinks[6], (DetailsLink{"Doc7", "/docs/7.pdf"}));
    ASSERT_EQ(d.RightLinks.size(), 2u);
    EXPECT_EQ(d.RightLinks[1], (DetailsLink{"Doc9", "/docs/9.pdf"}));
    EXPECT_EQ(d.Status[4], "3 Programs  ");

    dir.Write("a.b.jpg", "x");
    EXPECT_FALSE(DetailsFor(p, 3).ShowPlaceholderPicture());

    EXPECT_TRUE(DetailsFor(WithLinks(7), 1).RightLinks.empty());
    const ProgramDetails twenty = DetailsFor(WithLinks(20), 1);
    EXPECT_EQ(twenty.LeftLinks.size() + twenty.RightLinks.size(), 14u);
    EXPECT_EQ(twenty.RightLinks.back().Name, "Doc14");

    const ProgramDetails none;
    EXPECT_FALSE(none.HasProgram);
    EXPECT_FALSE(none.ShowPlaceholderPicture());
    EXPECT_TRUE(none.PictureFile.empty() && none.CommentLines.empty() && none.WarningLines.empty());
    EXPECT_TRUE(none.LeftLinks.empty() && none.RightLinks.empty());
    EXPECT_EQ(none.Status, StatusPanels{});
    // A program without an image file has no picture, whatever lies in the working folder.
    EXPECT_FALSE(PictureFileExists(""));
}

TEST(ProgramDetails, OpeningLinks)
{
    TempDir dir;
    const std::string manual = dir.Write("Manual.pdf", "%PDF");
    FakePrompts prompts;
    RecordingShell shell;
    OpenDocumentLink(manual, prompts, shell);
    OpenDocumentLink("http://www.example.com/manual.pdf", prompts, shell);
    OpenDocumentLink(dir / "Missing.pdf", prompts, shell);
    OpenDocumentLink(dir.path(), prompts, shell); // a folder is not a document file
    // A web address opens in the browser.
    EXPECT_EQ(shell.opened, (StringList{manual, "http://www.example.com/manual.pdf"}));
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].request.Text, "Cannot find file " + dir / "Missing.pdf");
    EXPECT_EQ(prompts.shown[0].request.Icon, MessageIcon::Stop);
}
