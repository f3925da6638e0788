// vorbix-cli info, programs and resave, run as the real program on real folders.

#include "catalogue/Main_LoadSaveUnit.h"

#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorbix;
using vorbix::test::RunProcess;
using vorbix::test::TempDir;

namespace {

test::ProcessOutput Cli(const std::vector<std::string>& args, const std::vector<std::string>& env = {})
{
    std::vector<std::string> argv{VORBIX_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv, env);
}

void MakeCatalogue(const TempDir& dir)
{
    Catalogue c;
    c.AppDir = dir.path();
    c.ProgramList.push_back(ProgramRecord{"Zap", "/g/zap.ssd", "Beta Soft", "Arcade"});
    c.ProgramList.push_back(ProgramRecord{"Alpha & Omega", "/g/ao.ssd", "alpha", "Adventure"});
    c.ProgramList.push_back(ProgramRecord{"Zap 2", "/g/zap2.ssd", "Beta Soft", "Arcade"});
    c.EmuList.push_back(EmuRecord{});
    c.Publishers.Add("Beta Soft");
    c.ProgramTypes.Add("Arcade");
    c.ProgramTypes.Add("Adventure");
    std::filesystem::create_directory(dir / "Data");
    EXPECT_TRUE(SaveProgramsFile(c).Ok());
    EXPECT_TRUE(SaveOptionsFile(c).Ok());
}

} // namespace

TEST(CliCatalogue, InfoAndProgramsListTheLoadedCatalogue)
{
    TempDir dir;
    MakeCatalogue(dir);
    auto info = Cli({"--appdir", dir.path(), "info"});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out, "programs: 3\nemulators: 1\nfilters: 0\npublishers: 1\ntypes: 2\nsource: xml\n");
    auto programs = Cli({"programs"}, {"VORBIX_APPDIR=" + dir.path()});
    EXPECT_EQ(programs.status, 0);
    EXPECT_EQ(programs.out,
        "0\talpha\tAlpha & Omega\tAdventure\t/g/ao.ssd\n"
        "1\tBeta Soft\tZap\tArcade\t/g/zap.ssd\n"
        "2\tBeta Soft\tZap 2\tArcade\t/g/zap2.ssd\n");

    TempDir empty;
    EXPECT_EQ(Cli({"--appdir", empty.path(), "info"}).out,
        "programs: 0\nemulators: 0\nfilters: 0\npublishers: 0\ntypes: 0\nsource: none\n");

    // A folder the user named that does not exist is a mistake, not an empty catalogue,
    // and nothing is created for it.
    const std::string missing = empty / "nonexistent";
    for (const auto& [args, env] :
        std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>>{{{"--appdir", missing, "check"}, {}},
            {{"resave"}, {"VORBIX_APPDIR=" + missing}}}) {
        const auto refused = Cli(args, env);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.err, "No such folder: " + missing + "\n");
        EXPECT_EQ(refused.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
    TempDir legacy;
    legacy.Write("Options.ini", "0\n0\n");
    EXPECT_NE(Cli({"--appdir", legacy.path(), "info"}).out.find("source: legacy\n"), std::string::npos);
}

TEST(CliCatalogue, ResaveIsByteExactAndImportsLegacyFiles)
{
    TempDir dir;
    MakeCatalogue(dir);
    const std::string programs = dir.Read("Data/programs.xml");
    const std::string options = dir.Read("Data/options.xml");
    auto r = Cli({"--appdir", dir.path(), "resave"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.Read("Data/programs.xml"), programs);
    EXPECT_EQ(dir.Read("Data/options.xml"), options);

    TempDir legacy;
    legacy.Write("Options.ini", "1\n0\nAcorn\n/g/\n\n\nall\n\ntrue\nx\nx\nfalse\nfalse\n\n");
    legacy.Write("Programs.ini", "1\nElite\n/g/elite.ssd\nAcorn\nSpace\nFalse\nFalse\n0\n0\n");
    EXPECT_EQ(Cli({"--appdir", legacy.path(), "resave"}).status, 0);
    EXPECT_NE(legacy.Read("Data/programs.xml").find("<program-name>Elite</program-name>"), std::string::npos);
    EXPECT_NE(legacy.Read("Data/options.xml").find("<dropoption-askaddtolist>true</dropoption-askaddtolist>"),
        std::string::npos);
    EXPECT_EQ(Cli({"--appdir", legacy.path(), "info"}).out.find("source: xml") != std::string::npos, true);
}

TEST(CliCatalogue, ReadOnlyCommandsReportADamagedFileAndWriteNothingWhileResaveKeepsACopy)
{
    TempDir dir;
    MakeCatalogue(dir);
    std::string damaged = dir.Read("Data/programs.xml");
    damaged.erase(damaged.find("    </program>\r\n", damaged.find("    </program>\r\n") + 1), 16);
    dir.Write("Data/programs.xml", damaged);
    const std::string path = dir / "Data/programs.xml";
    const std::string fault = "File " + path
        + " is damaged: the 2nd <program> is not closed. What could be read "
          "was loaded (3 programs, the last of them Zap 2)";
    const auto before = dir.Contents();
    for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{{"info"}, {"list"},
             {"programs"}, {"report", "programs", "--stdout"}, {"report", "links", "--stdout"}, {"check"}}) {
        SCOPED_TRACE(command.front() + (command.size() > 1 ? " " + command[1] : ""));
        std::vector<std::string> args{"--appdir", dir.path()};
        args.insert(args.end(), command.begin(), command.end());
        const auto r = Cli(args);
        EXPECT_NE(r.err.find(fault + "; the file was left as it is, and no copy was made.\n"), std::string::npos)
            << r.err;
        EXPECT_EQ(r.status, command.front() == "check" ? 1 : 0);
        EXPECT_EQ(dir.Contents(), before);
    }

    // resave saves, so it keeps the copy first.
    const auto resaved = Cli({"--appdir", dir.path(), "resave"});
    EXPECT_EQ(resaved.status, 0) << resaved.err;
    EXPECT_NE(resaved.err.find(fault + "; the file was copied to " + path + ".damaged-1.\n"), std::string::npos)
        << resaved.err;
    EXPECT_EQ(dir.Read("Data/programs.xml.damaged-1"), damaged);
    EXPECT_NE(dir.Read("Data/programs.xml"), damaged);
    EXPECT_EQ(Cli({"--appdir", dir.path(), "info"}).err, "");

    // A legacy import that would replace the programs file is reported, and nothing written.
    TempDir legacy;
    MakeCatalogue(legacy);
    std::filesystem::remove(legacy / "Data/options.xml");
    legacy.Write("Options.ini", "0\n0\n");
    const auto legacyBefore = legacy.Contents();
    const auto info = Cli({"--appdir", legacy.path(), "info"});
    EXPECT_NE(info.out.find("source: legacy\n"), std::string::npos);
    EXPECT_NE(info.err.find("The programs file that is there, " + legacy / "Data/programs.xml" + ", was left as it is"),
        std::string::npos)
        << info.err;
    EXPECT_EQ(legacy.Contents(), legacyBefore);
}

TEST(CliCatalogue, UsageErrorsAndFileErrorsHaveTheirExitStatus)
{
    TempDir dir;
    EXPECT_EQ(Cli({}).status, 2);
    EXPECT_EQ(Cli({"--appdir", dir.path(), "frobnicate"}).status, 2);
    EXPECT_EQ(Cli({"--appdir", dir.path(), "info", "extra"}).status, 2);
    EXPECT_EQ(Cli({"--bogus", "info"}).status, 2);
    auto help = Cli({"help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: vorbix-cli [--appdir DIR] COMMAND"), std::string::npos);

    // A programs "file" that cannot be read.
    std::filesystem::create_directories(dir / "Data/programs.xml");
    auto unreadable = Cli({"--appdir", dir.path(), "info"});
    EXPECT_EQ(unreadable.status, 3);
    EXPECT_EQ(unreadable.err, "Error: Cannot open file " + dir.path() + "Data/programs.xml\n");

    // A bad legacy count.
    TempDir legacy;
    legacy.Write("Options.ini", "x\n");
    auto bad = Cli({"--appdir", legacy.path(), "resave"});
    EXPECT_EQ(bad.status, 3);
    EXPECT_EQ(bad.err, "Error: 'x' is not a valid integer value\n");
    EXPECT_FALSE(legacy.Exists("Data"));

    // A save of a read-only file in a read-only folder keeps the old files.
    TempDir ro;
    MakeCatalogue(ro);
    const std::string before = ro.Read("Data/programs.xml");
    test::SetMode(ro / "Data/programs.xml", 0444);
    test::SetMode(ro / "Data", 0555);
    auto failed = Cli({"--appdir", ro.path(), "resave"});
    test::SetMode(ro / "Data", 0755);
    EXPECT_EQ(failed.status, 3);
    EXPECT_EQ(failed.err, "Error: Cannot create file " + ro.path() + "Data/programs.xml\n");
    EXPECT_EQ(ro.Read("Data/programs.xml"), before);
}

TEST(CliCatalogue, MissingElementMessagesGoToStandardErrorOneBlockPerFile)
{
    TempDir dir;
    dir.Write("Data/programs.xml",
        "<programs><publisher><publisher-name>P</publisher-name>"
        "<program><program-name>A</program-name></program></publisher></programs>");
    dir.Write("Data/options.xml", "<options></options>");
    auto r = Cli({"--appdir", dir.path(), "programs"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0\tP\tA\tTXMLLoadObject.Getvalue: No focus set\tTXMLLoadObject.Getvalue: No focus set\n");
    // program-type, file-url, favourite, e00dfs, then the 12 leaves of other-options.
    const std::string missing = "TXMLLoadObject.Getvalue: No focus set";
    EXPECT_NE(r.err.find("Reading " + (dir / "Data/programs.xml") + " gave 4 messages:\n  " + missing + " (4 times)\n"),
        std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(
                  "Reading " + (dir / "Data/options.xml") + " gave 12 messages:\n  " + missing + " (12 times)\n"),
        std::string::npos)
        << r.err;
}

TEST(Demo, TheCommittedDemoFolderIsWhatTheDemoToolWrites)
{
    TempDir dir;
    auto made = RunProcess({VORBIX_MAKE_DEMO_PATH, dir / "demo", "/tmp/vorbix-demo"});
    ASSERT_EQ(made.status, 0) << made.err;
    const std::filesystem::path committed = std::string(VORBIX_SOURCE_DIR) + "/demo";
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir / "demo")) {
        if (!entry.is_regular_file())
            continue;
        auto relative = std::filesystem::relative(entry.path(), dir / "demo");
        EXPECT_EQ(test::ReadAll(entry.path()), test::ReadAll(committed / relative)) << relative;
        ++files;
    }
    EXPECT_GT(files, 15);
    auto info = RunProcess({VORBIX_CLI_PATH, "--appdir", committed.string(), "info"});
    EXPECT_EQ(info.out, "programs: 7\nemulators: 1\nfilters: 2\npublishers: 3\ntypes: 4\nsource: xml\n");
    EXPECT_EQ(info.err, "");
}
