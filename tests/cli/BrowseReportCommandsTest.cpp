// vorbix-cli list, report and check, run in-process on real application folders.

#include "Cli.h"
#include "catalogue/Main_LoadSaveUnit.h"
#include "reports/Main_ReportsUnit.h"
#include "support/FakePrompts.h"
#include "support/TempDir.h"

#include "support/Builders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <streambuf>

using namespace vorbix;
using vorbix::test::CrLfLines;
using vorbix::test::FakePrompts;
using vorbix::test::MakeProgram;
using vorbix::test::TempDir;

namespace {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

CliResult Cli(const TempDir& appDir, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--appdir", appDir.path()});
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in;
    const int status = cli::RunCli(args, out, err, in);
    return {status, out.str(), err.str()};
}

// An application folder whose catalogue has an image with pictures (Elite) and programs
// with missing files, comments, warnings and links.
void WriteCatalogue(const TempDir& dir, bool withProblems)
{
    Catalogue c;
    c.AppDir = dir.path();
    const std::string elite = dir.Write("Games/Elite.ssd", "image");
    dir.Write("Games/Elite.jpg", "jpeg");
    dir.Write("Games/Elite-box.jpg", "jpeg");
    c.ProgramList.push_back(MakeProgram("Acornsoft", "Elite", "Game", elite));
    c.Publishers.Add("Acornsoft");
    c.ProgramTypes.Add("Game");
    if (withProblems) {
        ProgramRecord repton = MakeProgram("Superior", "Repton", "Arcade", "/nowhere/Repton.ssd");
        repton.Favourite = true;
        repton.Comments = {"Dig for diamonds"};
        repton.EmuWarningEmus = {"BeebEm"};
        repton.EmuWarningTexts = {"Slow"};
        repton.DocLinkNames = {"Manual"};
        repton.DocLinkUrls = {"/nowhere/manual.pdf"};
        c.ProgramList.push_back(repton);
        c.ProgramList.push_back(MakeProgram("superior", "aardvark", "", "/nowhere/a.ssd"));
        c.FilterList = {{"Favs", "any", "=", "any", "=", FavouriteCondition::fcTrue}};
        EmuRecord emu;
        emu.EmuName = "BeebEm";
        c.EmuList.push_back(emu);
    }
    std::filesystem::create_directories(dir / "Data");
    EXPECT_TRUE(SaveProgramsFile(c).Ok());
    EXPECT_TRUE(SaveOptionsFile(c).Ok());
}

// The catalogue as the tool loads it, for the PIdx of each program and expected report bytes.
Catalogue Loaded(const TempDir& dir)
{
    Catalogue c;
    c.AppDir = dir.path();
    FakePrompts prompts;
    EXPECT_TRUE(LoadCatalogue(c, prompts).Ok());
    return c;
}

std::string Row(const Catalogue& c, const std::string& name)
{
    for (std::size_t i = 0; i < c.ProgramList.size(); ++i)
        if (c.ProgramList[i].ProgramName == name)
            return std::to_string(i) + "\t" + c.ProgramList[i].PublisherName + "\t" + name + "\n";
    return "missing " + name;
}

} // namespace

TEST(CliList, RowsInListOrder)
{
    TempDir dir;
    WriteCatalogue(dir, true);
    const Catalogue c = Loaded(dir);
    CliResult r = Cli(dir, {"list"});
    EXPECT_EQ(r.status, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out, Row(c, "Elite") + Row(c, "aardvark") + Row(c, "Repton"));

    r = Cli(dir, {"list", "--order", "program", "--descending"});
    EXPECT_EQ(r.out, Row(c, "Repton") + Row(c, "Elite") + Row(c, "aardvark"));
    r = Cli(dir, {"list", "--order", "publisher", "--descending"});
    EXPECT_EQ(r.out, Row(c, "aardvark") + Row(c, "Repton") + Row(c, "Elite"));
    r = Cli(dir, {"list", "--filter", "favs"}); // accepted by the selector, then looked up exactly
    EXPECT_EQ(r.out, Row(c, "Repton"));
    EXPECT_EQ(r.err, "");
    r = Cli(dir, {"list", "--filter", "Nothing"});
    EXPECT_EQ(r.out, Row(c, "Elite") + Row(c, "aardvark") + Row(c, "Repton"));
    EXPECT_EQ(r.err, "No filter named Nothing; showing all\n");

    EXPECT_EQ(Cli(dir, {"list", "--order", "type"}).status, cli::kExitUsage);
    EXPECT_EQ(Cli(dir, {"list", "--filter"}).status, cli::kExitUsage);
    TempDir empty;
    r = Cli(empty, {"list"});
    EXPECT_EQ(r.status, cli::kExitOk);
    EXPECT_EQ(r.out, "");
}

TEST(CliReport, StdoutAndFileCarryTheSameBytes)
{
    TempDir dir;
    WriteCatalogue(dir, true);
    CliResult r = Cli(dir, {"report", "programs", "--order", "program", "--no-type", "--stdout"});
    EXPECT_EQ(r.status, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out,
        "aardvark - superior\r\nElite - Acornsoft\r\nRepton - Superior\r\n   : Dig for diamonds\r\n"
        "   * BeebEm: Slow\r\n   Documents:\r\n   - Manual\r\n");
    EXPECT_FALSE(dir.Exists("ProgramsReport.txt"));

    r = Cli(dir, {"report", "programs", "--filter", "Favs", "--no-information", "--no-warnings", "--no-links"});
    EXPECT_EQ(r.status, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out, dir / "ProgramsReport.txt\n");
    EXPECT_EQ(dir.Read("ProgramsReport.txt"), "Superior - Repton (Arcade)\r\n");

    r = Cli(dir, {"report", "compatibility", "--stdout"});
    EXPECT_EQ(r.out,
        "Superior - Repton\r\n   BeebEm: Slow\r\n\r\n\r\nTested: 3 programs\r\nNumber of warnings:\r\n"
        "   BeebEm: 1\r\n");
    r = Cli(dir, {"report", "compatibility", "--order", "program"});
    EXPECT_EQ(r.out, dir / "CompatibilityReport.txt\n");
    EXPECT_EQ(dir.Read("CompatibilityReport.txt").substr(0, 19), "Repton - Superior\r\n");

    const std::vector<std::string> skipAllButOne = {"report", "links", "--skip", "BrokenProgs", "--skip", "ProgsNoPubs",
        "--skip", "ProgsNoTypes", "--skip", "ProgsPubsNoExists", "--skip", "ProgsTypesNoExists", "--skip",
        "ProgsNoPics", "--skip", "ProgsNoBoxCovers", "--skip", "UnusedPublishers", "--skip", "UnusedTypes", "--skip",
        "FiltersNoPubs", "--skip", "FiltersNoTypes", "--filter", "Favs"};
    r = Cli(dir, skipAllButOne);
    EXPECT_EQ(r.out, dir / "LinksReport.txt\n");
    EXPECT_EQ(dir.Read("LinksReport.txt"),
        "Broken hyperlinks\r\n=================\r\n\r\n"
        "Superior - Repton - Manual  (/nowhere/manual.pdf)\r\n\r\n\r\n");
}

TEST(CliReport, BadArgumentsAndUnwritableFile)
{
    TempDir dir;
    WriteCatalogue(dir, true);
    EXPECT_EQ(Cli(dir, {"report"}).status, cli::kExitUsage);
    EXPECT_EQ(Cli(dir, {"report", "everything"}).status, cli::kExitUsage);
    EXPECT_EQ(Cli(dir, {"report", "links", "--skip", "brokenprogs"}).status, cli::kExitUsage);
    EXPECT_EQ(Cli(dir, {"report", "links", "--no-type"}).status, cli::kExitUsage);
    EXPECT_EQ(Cli(dir, {"report", "compatibility", "--skip", "BrokenProgs"}).status, cli::kExitUsage);
    EXPECT_EQ(Cli(dir, {"report", "links", "--order", "program"}).status, cli::kExitUsage);

    std::filesystem::create_directories(dir / "ProgramsReport.txt"); // a folder in the file's place
    const CliResult r = Cli(dir, {"report", "programs"});
    EXPECT_EQ(r.status, cli::kExitFileError);
    EXPECT_EQ(r.err, "Error: Cannot create file " + dir / "ProgramsReport.txt\n");
    EXPECT_EQ(r.out, "");
}

TEST(CliCheck, ExitStatusFollowsFindings)
{
    TempDir dir;
    WriteCatalogue(dir, true);
    CliResult r = Cli(dir, {"check"});
    EXPECT_EQ(r.status, cli::kExitFindings);
    EXPECT_EQ(r.out, LinksReportBytes(Loaded(dir), LinksReportOptions{}));
    EXPECT_NE(r.out.find("Broken program links\r\n====================\r\n\r\n"
                         "superior - aardvark  (/nowhere/a.ssd)\r\nSuperior - Repton  (/nowhere/Repton.ssd)\r\n"),
        std::string::npos);
    EXPECT_FALSE(dir.Exists("LinksReport.txt"));

    TempDir clean;
    WriteCatalogue(clean, false);
    r = Cli(clean, {"check"});
    EXPECT_EQ(r.status, cli::kExitOk) << r.out;
    EXPECT_EQ(r.out.substr(0, 44), "Broken program links\r\n====================\r\n");
    EXPECT_EQ(Cli(clean, {"check", "--stdout"}).status, cli::kExitUsage);
}

namespace {

// A standard output that takes nothing: a closed pipe or a full disk.
class RefusingBuffer : public std::streambuf {
protected:
    int overflow(int) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

CliResult CliToRefusingOutput(const TempDir& appDir, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--appdir", appDir.path()});
    RefusingBuffer refusing;
    std::ostream out(&refusing);
    std::ostringstream err;
    std::istringstream in;
    const int status = cli::RunCli(args, out, err, in);
    return {status, "", err.str()};
}

} // namespace

TEST(CliOutput, OutputThatCannotBeWrittenIsAnError)
{
    TempDir dir;
    WriteCatalogue(dir, true);
    const std::string message = "Error: Cannot write to standard output\n";
    for (const std::vector<std::string>& args :
        std::vector<std::vector<std::string>>{{"list"}, {"report", "programs", "--stdout"},
            {"report", "compatibility", "--stdout"}, {"report", "links", "--stdout"}, {"check"}}) {
        const CliResult r = CliToRefusingOutput(dir, args);
        EXPECT_EQ(r.status, cli::kExitFileError) << args.front() << " " << args.back();
        EXPECT_EQ(r.err, message) << args.front() << " " << args.back();
    }
    // The file itself is written; only the printed path is lost.
    const CliResult r = CliToRefusingOutput(dir, {"report", "links"});
    EXPECT_EQ(r.status, cli::kExitFileError);
    EXPECT_EQ(dir.Read("LinksReport.txt"), LinksReportBytes(Loaded(dir), LinksReportOptions{}));

    // A catalogue without findings still fails when its clean report cannot be shown.
    TempDir clean;
    WriteCatalogue(clean, false);
    EXPECT_EQ(CliToRefusingOutput(clean, {"check"}).status, cli::kExitFileError);
}

TEST(CliOutput, RejectedOptionValuesAreNamedWithTheirOption)
{
    TempDir dir;
    WriteCatalogue(dir, true);
    CliResult r = Cli(dir, {"list", "--order", "type"});
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_EQ(r.err, "Unexpected argument --order type\n");
    EXPECT_EQ(r.out, "");
    r = Cli(dir, {"report", "programs", "--order", "type", "--stdout"});
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_EQ(r.err, "Unexpected argument --order type\n");
    EXPECT_EQ(r.out, "");
    r = Cli(dir, {"report", "links", "--skip", "brokenprogs"});
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_EQ(r.err, "Unexpected argument --skip brokenprogs\n");
    EXPECT_FALSE(dir.Exists("LinksReport.txt"));
    r = Cli(dir, {"report", "compatibility", "--filter"});
    EXPECT_EQ(r.err, "Unexpected argument --filter\n");
    r = Cli(dir, {"report", "links", "--order", "program"});
    EXPECT_EQ(r.err, "Unexpected argument --order program\n");
}
