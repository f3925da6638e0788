#include "reports/Main_ReportsUnit.h"

#include "support/Builders.h"

#include <gtest/gtest.h>

using namespace vorbix;
using vorbix::test::CrLfLines;
using vorbix::test::MakeProgram;

TEST(ProgramsReport, FiveLineExample)
{
    Catalogue c;
    ProgramRecord elite = MakeProgram("Acornsoft", "Elite", "Game");
    elite.Comments = {"Trading game", ""};
    elite.EmuWarningEmus = {"B"};
    elite.EmuWarningTexts = {"No sound"};
    elite.DocLinkNames = {"Manual"};
    elite.DocLinkUrls = {"C:\\Docs\\Elite.pdf"};
    c.ProgramList = {elite};
    ProgramsReportOptions options;
    options.Order = ReportOrder::Program;
    EXPECT_EQ(ProgramsReportBytes(c, options),
        CrLfLines(
            {"Elite - Acornsoft (Game)", "   : Trading game", "   * B: No sound", "   Documents:", "   - Manual"}));
    options.Order = ReportOrder::Publisher;
    options.IncludeType = false;
    options.IncludeWarnings = false;
    EXPECT_EQ(ProgramsReportBytes(c, options),
        CrLfLines({"Acornsoft - Elite", "   : Trading game", "   Documents:", "   - Manual"}));
    options.IncludeInformation = false;
    options.IncludeLinks = false;
    EXPECT_EQ(ProgramsReportBytes(c, options), CrLfLines({"Acornsoft - Elite"}));
}

TEST(ProgramsReport, SectionsKeepRecordOrderAndBlankLines)
{
    Catalogue c;
    ProgramRecord p = MakeProgram("", "Zork", "Adventure");
    for (int i = 12; i >= 1; --i)
        p.Comments.push_back("line " + std::to_string(i) + " #2InfoIn");
    p.Comments.insert(p.Comments.begin() + 3, "  ");
    p.Comments.push_back("   "); // a last line of spaces only is dropped
    p.EmuWarningEmus = {"Master", "b2", "BeebEm"};
    p.EmuWarningTexts = {"slow", "no disc", "ok"};
    c.ProgramList = {p, MakeProgram("Acornsoft", "Tab", "")};
    c.ProgramList[1].Comments = {"x", "\t"}; // a tab is not a blank
    c.ProgramList[1].DocLinkNames = {"B doc", "A doc"};
    c.ProgramList[1].DocLinkUrls = {"u1"}; // damaged: one URL short; names are still listed

    std::vector<std::string> expected = {" - Zork (Adventure)"};
    for (int i = 12; i >= 1; --i) {
        expected.push_back("   : line " + std::to_string(i) + " #2InfoIn");
        if (i == 10)
            expected.push_back("   :   ");
    }
    expected.insert(expected.end(),
        {"   * b2: no disc", "   * BeebEm: ok", "   * Master: slow", "Acornsoft - Tab", "   : x", "   : \t",
            "   Documents:", "   - B doc", "   - A doc"});
    EXPECT_EQ(ProgramsReportBytes(c, ProgramsReportOptions{}), CrLfLines(expected));
}

TEST(ProgramsReport, EqualHeadingsAreMergedAndFilterApplies)
{
    Catalogue c;
    ProgramRecord a = MakeProgram("Acornsoft", "Elite", "Game");
    a.Comments = {"zeta", "second of a"};
    a.DocLinkNames = {"Manual A"};
    a.DocLinkUrls = {"a"};
    ProgramRecord b = MakeProgram("Acornsoft", "Elite", "Game");
    b.Comments = {"alpha"};
    b.DocLinkNames = {"Manual B"};
    b.DocLinkUrls = {"b"};
    ProgramRecord other = MakeProgram("Acornsoft", "Elite", "Utility");
    other.Favourite = true;
    c.ProgramList = {a, b, other};
    EXPECT_EQ(ProgramsReportBytes(c, ProgramsReportOptions{}),
        CrLfLines({"Acornsoft - Elite (Game)", "Acornsoft - Elite (Game)", "   : alpha", "   : zeta",
            "   : second of a", "   Documents:", "   - Manual A", "   - Manual B", "Acornsoft - Elite (Utility)"}));

    // Without types the third program shares the heading too.
    ProgramsReportOptions noType;
    noType.IncludeType = false;
    noType.IncludeInformation = false;
    noType.IncludeLinks = false;
    EXPECT_EQ(ProgramsReportBytes(c, noType),
        CrLfLines({"Acornsoft - Elite", "Acornsoft - Elite", "Acornsoft - Elite"}));

    c.FilterList = {{"Favs", "any", "=", "any", "=", FavouriteCondition::fcTrue}};
    noType.FilterName = "Favs";
    EXPECT_EQ(ProgramsReportBytes(c, noType), CrLfLines({"Acornsoft - Elite"}));
    c.FilterList = {{"None", "any", "<>", "any", "=", FavouriteCondition::fcDontCare}};
    noType.FilterName = "None";
    EXPECT_EQ(ProgramsReportBytes(c, noType), "");
    EXPECT_EQ(ProgramsReportBytes(Catalogue{}, ProgramsReportOptions{}), "");
}

TEST(ProgramsReport, HeadingOrderIsCaseInsensitiveAndExtensionsFollow)
{
    Catalogue c;
    c.ProgramList = {MakeProgram("superior", "Repton 2"), MakeProgram("Superior", "Repton"),
        MakeProgram("Acornsoft", "Zalaga"), MakeProgram("", "Nameless"), MakeProgram("Superior", "Repton"),
        MakeProgram("SUPERIOR", "repton")};
    c.ProgramList[1].Comments = {"first"};
    ProgramsReportOptions options;
    options.IncludeWarnings = false;
    options.IncludeLinks = false;
    // The three headings equal ignoring case keep their catalogue order and come before the
    // heading that extends them; the comment of one of them follows all three.
    EXPECT_EQ(ProgramsReportBytes(c, options),
        CrLfLines({" - Nameless", "Acornsoft - Zalaga", "Superior - Repton", "Superior - Repton", "SUPERIOR - repton",
            "   : first", "superior - Repton 2"}));
}

TEST(ProgramsReport, UserTextsThatLookLikeMarkersArePrintedWhole)
{
    Catalogue c;
    ProgramRecord p = MakeProgram("Pub", "A               #1InfoStart #123@#", "X               #Type       #123@#");
    p.Comments = {"               #3InfoEnd   #123@#"};
    p.DocLinkNames = {"               #9LinkEnd   #123@#"};
    p.DocLinkUrls = {"u"};
    c.ProgramList = {p};
    EXPECT_EQ(ProgramsReportBytes(c, ProgramsReportOptions{}),
        CrLfLines({"Pub - A               #1InfoStart #123@# (X               #Type       #123@#)",
            "   :                #3InfoEnd   #123@#", "   Documents:", "   -                #9LinkEnd   #123@#"}));
}

// Names written on Windows (Windows-1252 bytes) are their own names in the report: "Caf\xe9"
// and "Caf\xe8" keep separate headings with their own comments, and the publishers sort
// beside their unaccented neighbours ("Cafe", "eclair"), not after "zeta". The bytes are
// written as they are stored.
TEST(ProgramsReport, Windows1252NamesAreNeitherMergedNorSortedLast)
{
    Catalogue c;
    ProgramRecord cafeAcute = MakeProgram("Caf\xe9", "Game");
    cafeAcute.Comments = {"acute"};
    ProgramRecord cafeGrave = MakeProgram("Caf\xe8", "Game");
    cafeGrave.Comments = {"grave"};
    c.ProgramList = {MakeProgram("zeta", "Game"), cafeGrave,
        MakeProgram("\xc9"
                    "clair",
            "Game"),
        cafeAcute, MakeProgram("eclair", "Game"), MakeProgram("Cafe", "Game")};
    ProgramsReportOptions options;
    options.Order = ReportOrder::Publisher;
    EXPECT_EQ(ProgramsReportBytes(c, options),
        CrLfLines({"Cafe - Game", "Caf\xe9 - Game", "   : acute", "Caf\xe8 - Game", "   : grave", "eclair - Game",
            "\xc9"
            "clair - Game",
            "zeta - Game"}));
}
