#include "reports/Main_ReportsUnit.h"

#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorbix;
using vorbix::test::CrLfLines;
using vorbix::test::FakePrompts;
using vorbix::test::MakeProgram;
using vorbix::test::RecordingShell;
using vorbix::test::TempDir;

namespace {

std::string Section(const std::string& caption, std::initializer_list<std::string> findings)
{
    return CrLfLines({caption, std::string(caption.size(), '='), ""}) + CrLfLines(findings) + "\r\n\r\n";
}

// A catalogue over real files: Elite has its image, picture, box cover and one document.
struct LinksFixture {
    TempDir dir;
    Catalogue c;

    LinksFixture()
    {
        const std::string elite = dir.Write("Acornsoft/Elite.ssd", "image");
        dir.Write("Acornsoft/Elite.jpg", "jpeg");
        dir.Write("Acornsoft/Elite-box.jpg", "jpeg");
        const std::string manual = dir.Write("Docs/Elite.pdf", "pdf");
        c.Publishers.Add("Acornsoft");
        c.Publishers.Add("Superior");
        c.Publishers.Add("Unused Soft");
        c.ProgramTypes.Add("Game");
        c.ProgramTypes.Add("Utility");
        ProgramRecord p = MakeProgram("Acornsoft", "Elite", "Game", elite);
        p.DocLinkNames = {"Manual", "Web page"};
        p.DocLinkUrls = {manual, "http://www.example.com/elite"};
        c.ProgramList.push_back(p);
        c.ProgramList.push_back(MakeProgram("", "Loose", "", ""));
        c.ProgramList.push_back(MakeProgram("Superior", "Repton", "Arcade", dir / "Superior/Repton.ssd"));
        c.ProgramList.push_back(MakeProgram("Superior", "Repton", "Game", dir / "Superior/A/Repton.ssd"));
        c.ProgramList.push_back(MakeProgram("superior", "Citadel", "Utility", dir / "x.ssd"));
        c.ProgramList.back().Favourite = true;
        c.FilterList = {{"Favs", "any", "=", "any", "=", FavouriteCondition::fcTrue},
            {"Case", "acornsoft", "=", "any", "=", FavouriteCondition::fcDontCare},
            {"Types", "any", "<>", "Sport", "<>", FavouriteCondition::fcDontCare}};
    }
};

} // namespace

TEST(LinksReport, AllTwelveSectionsOnRealFiles)
{
    LinksFixture f;
    const std::string& d = f.dir.path();
    const std::string expected = Section("Broken program links",
                                     {" - Loose  ()", "superior - Citadel  (" + d + "x.ssd)",
                                         "Superior - Repton  (" + d + "Superior/A/Repton.ssd)",
                                         "Superior - Repton  (" + d + "Superior/Repton.ssd)"})
        + Section("Broken hyperlinks", {"Acornsoft - Elite - Web page  (http://www.example.com/elite)"})
        + Section("Programs without publishers", {"Loose"}) + Section("Programs without types", {" - Loose"})
        + Section("Programs with undefined publishers", {"superior - Citadel"})
        + Section("Programs with undefined types", {"Superior - Repton  (Arcade)"})
        + Section("Programs without pictures",
            {" - Loose", "superior - Citadel", "Superior - Repton", "Superior - Repton"})
        + Section("Programs without box covers",
            {" - Loose", "superior - Citadel", "Superior - Repton", "Superior - Repton"})
        + Section("Unused publishers", {"Unused Soft"}) + Section("Unused types", {})
        + Section("Filters with undefined publishers", {"Case  (acornsoft)"})
        + Section("Filters with undefined types", {"Types  (Sport)"});
    EXPECT_EQ(LinksReportBytes(f.c, LinksReportOptions{}), expected);
}

TEST(LinksReport, FilterLimitsOnlyProgramTestsAndBoxesSelectSections)
{
    LinksFixture f;
    LinksReportOptions options;
    options.FilterName = "Favs";
    options.Tests.fill(false);
    options.SetChecked(LinksTest::ProgsPubsNoExists, true);
    options.SetChecked(LinksTest::UnusedPublishers, true);
    // Superior is used only by programs outside the filter and is still not unused.
    EXPECT_EQ(LinksReportBytes(f.c, options),
        Section("Programs with undefined publishers", {"superior - Citadel"})
            + Section("Unused publishers", {"Unused Soft"}));
    options.Tests.fill(false);
    EXPECT_EQ(LinksReportBytes(f.c, options), "");

    const LinksFindings findings = CollectLinksFindings(f.c, "Favs");
    EXPECT_EQ(findings[static_cast<std::size_t>(LinksTest::BrokenProgs)].size(), 1u);
    EXPECT_TRUE(findings[static_cast<std::size_t>(LinksTest::BrokenHyLinks)].empty());
    EXPECT_EQ(NamesOf(LinksTest::FiltersNoTypes).ControlName, std::string("FiltersNoTypes"));
    EXPECT_EQ(LinksTestByControlName("ProgsNoBoxCovers"), LinksTest::ProgsNoBoxCovers);
    EXPECT_FALSE(LinksTestByControlName("progsnoboxcovers").has_value());
}

TEST(Reports, GenerateWritesAsksAndOpens)
{
    LinksFixture f;
    f.c.AppDir = f.dir.path();
    f.dir.Write("LinksReport.txt", "an older report that is longer than the new one ...........");
    FakePrompts prompts;
    RecordingShell shell;
    LinksReportOptions options;
    options.Tests.fill(false);
    options.SetChecked(LinksTest::UnusedTypes, true);
    EXPECT_TRUE(GenerateLinksReport(f.c, options, prompts, shell).Ok());
    const std::string path = f.dir / "LinksReport.txt";
    EXPECT_EQ(f.dir.Read("LinksReport.txt"), Section("Unused types", {}));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].request.Text, "View report file " + path + "?");
    EXPECT_EQ(prompts.shown[0].request.Buttons, MessageButtons::YesNo);
    EXPECT_EQ(shell.opened, std::vector<std::string>{path});

    prompts.QueueAnswer(MessageAnswer::No);
    EXPECT_TRUE(GenerateProgramsReport(f.c, ProgramsReportOptions{}, prompts, shell).Ok());
    EXPECT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(f.dir.Read("ProgramsReport.txt"), ProgramsReportBytes(f.c, ProgramsReportOptions{}));
    EXPECT_EQ(prompts.shown.back().request.Text, "View report file " + f.dir / "ProgramsReport.txt?");

    EXPECT_TRUE(GenerateCompatibilityReport(f.c, CompatibilityReportOptions{}, prompts, shell).Ok());
    EXPECT_EQ(f.dir.Read("CompatibilityReport.txt"), "\r\n\r\nTested: 5 programs\r\nNumber of warnings:\r\n");
}

TEST(Reports, UnwritableFileGivesErrorAndNoQuestion)
{
    TempDir dir;
    Catalogue c;
    c.AppDir = dir / "missing/folder/";
    FakePrompts prompts;
    RecordingShell shell;
    const std::string path = dir / "missing/folder/ProgramsReport.txt";
    EXPECT_EQ(GenerateProgramsReport(c, ProgramsReportOptions{}, prompts, shell).Error(),
        (Failure{"Cannot create file " + path, path}));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_FALSE(WriteReportFile(c, kLinksReportFile, "x").Ok());
}

// Folders are no files: an image, a document or a picture that is a folder counts as missing.
TEST(LinksReport, FoldersAreNotFiles)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "Games/Elite.ssd");
    std::filesystem::create_directories(dir / "Docs/Manual.pdf");
    const std::string repton = dir.Write("Games/Repton.ssd", "image");
    std::filesystem::create_directories(dir / "Games/Repton.jpg");
    dir.Write("Games/Repton-box.jpg", "jpeg");
    Catalogue c;
    c.Publishers.Add("Acornsoft");
    c.Publishers.Add("Superior");
    c.ProgramTypes.Add("Game");
    c.ProgramList.push_back(MakeProgram("Acornsoft", "Elite", "Game", dir / "Games/Elite.ssd"));
    c.ProgramList.back().DocLinkNames = {"Manual", "Folder of documents"};
    c.ProgramList.back().DocLinkUrls = {dir / "Docs/Manual.pdf", dir / "Docs"};
    c.ProgramList.push_back(MakeProgram("Superior", "Repton", "Game", repton));
    const std::string& d = dir.path();
    EXPECT_EQ(LinksReportBytes(c, LinksReportOptions{}),
        Section("Broken program links", {"Acornsoft - Elite  (" + d + "Games/Elite.ssd)"})
            + Section("Broken hyperlinks",
                {"Acornsoft - Elite - Folder of documents  (" + d + "Docs)",
                    "Acornsoft - Elite - Manual  (" + d + "Docs/Manual.pdf)"})
            + Section("Programs without publishers", {}) + Section("Programs without types", {})
            + Section("Programs with undefined publishers", {}) + Section("Programs with undefined types", {})
            + Section("Programs without pictures", {"Acornsoft - Elite", "Superior - Repton"})
            + Section("Programs without box covers", {"Acornsoft - Elite"}) + Section("Unused publishers", {})
            + Section("Unused types", {}) + Section("Filters with undefined publishers", {})
            + Section("Filters with undefined types", {}));
}
