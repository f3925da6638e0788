#include "catalogue/Main_LoadSaveUnit.h"

#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorbix;
using vorbix::test::FakePrompts;
using vorbix::test::MakeProgram;
using vorbix::test::TempDir;

namespace {

ProgramRecord Program(const std::string& publisher, const std::string& name, const std::string& file = "")
{
    return MakeProgram(publisher, name, "Arcade", file.empty() ? "C:\\Games\\" + name + ".ssd" : file);
}

const std::string kNoFocus = "TXMLLoadObject.Getvalue: No focus set";

const char* kHeader = "<?xml version=\"1.0\"?>\r\n"
                      "<?xml-stylesheet type=\"text/xsl\" href=\"programs.xsl\"?>\r\n"
                      "<!DOCTYPE programs SYSTEM \"programs.dtd\">\r\n"
                      "\r\n";

} // namespace

TEST(ProgramsFile, ExactBytesForAProgramWithPictureCommentsAndLink)
{
    TempDir dir;
    Catalogue c;
    c.AppDir = dir.path();
    std::string image = dir.Write("games/Elite.ssd", "disk");
    dir.Write("games/Elite.jpg", "jpeg");
    ProgramRecord p = Program("Acornsoft", "Elite", image);
    p.Favourite = true;
    p.Comments = {"Classic & best", "  indented  ", "", "   "};
    p.DocLinkNames = {"Manual"};
    p.DocLinkUrls = {"http://x.org/?a=1&b=2"};
    c.ProgramList.push_back(p);
    const std::string expected = std::string(kHeader)
        + "<programs>\r\n"
          "  <vorbix-version>2.3</vorbix-version>\r\n"
          "  <publisher>\r\n"
          "    <publisher-name>Acornsoft</publisher-name>\r\n"
          "    <program>\r\n"
          "      <program-name>Elite</program-name>\r\n"
          "      <program-type>Arcade</program-type>\r\n"
          "      <file-url>"
        + image
        + "</file-url>\r\n"
          "      <favourite>true</favourite>\r\n"
          "      <e00dfs>false</e00dfs>\r\n"
          "      <picture-url>"
        + dir.path()
        + "games/Elite.jpg</picture-url>\r\n"
          "      <comments>\r\n"
          "        <commentline>Classic &amp; best</commentline>\r\n"
          "        <commentline>  indented  </commentline>\r\n"
          "      </comments>\r\n"
          "      <doclinks>\r\n"
          "        <doclink>\r\n"
          "          <doc-name>Manual</doc-name>\r\n"
          "          <doc-url>http://x.org/?a=1&amp;b=2</doc-url>\r\n"
          "        </doclink>\r\n"
          "      </doclinks>\r\n"
          "    </program>\r\n"
          "  </publisher>\r\n"
          "</programs>\r\n";
    EXPECT_EQ(ProgramsFileBytes(c), expected);
    // Trailing blank comment lines are gone in memory too; inner ones stay.
    EXPECT_EQ(c.ProgramList[0].Comments, (StringList{"Classic & best", "  indented  "}));

    dir.Write("games/Elite-box.jpg", "jpeg");
    EXPECT_NE(ProgramsFileBytes(c).find("      <boxcover-url>" + dir.path()
                  + "games/Elite-box.jpg</boxcover-url>\r\n"
                    "      <comments>"),
        std::string::npos);
}

// The save looks up each picture folder once and skips the files of a folder (or of a folder
// inside one) that is not there; what it writes must still be what looking up every file
// gives, ".." and links resolved by the system as it resolves them.
TEST(ProgramsFile, PicturesAreFoundAsTheSystemFindsEachFile)
{
    TempDir dir;
    dir.Write("a/x.jpg", "jpeg");
    dir.Write("a/w-box.jpg", "jpeg");
    dir.Write("a/v.jpg", "jpeg");
    std::filesystem::create_directory_symlink(dir / "a", dir / "link");
    Catalogue c;
    for (const char* file : {"a/x.ssd", "missing/x.ssd", "missing/deeper/x.ssd", "a/../a/w.ssd", "missing/../a/v.ssd",
             "link/v.ssd", "a/x.ssd/../v.ssd", "a\\v.ssd"})
        c.ProgramList.push_back(Program("P", file, dir / file));
    const std::string bytes = ProgramsFileBytes(c);
    std::vector<std::string> pictures;
    for (std::size_t at = bytes.find("-url>" + dir.path()); at != std::string::npos;
         at = bytes.find("-url>" + dir.path(), at + 1)) {
        const std::size_t start = bytes.rfind('<', at);
        pictures.push_back(bytes.substr(start, bytes.find('<', at) - start));
    }
    EXPECT_EQ(pictures,
        (std::vector<std::string>{
            "<file-url>" + dir.path() + "a/x.ssd",
            "<picture-url>" + dir.path() + "a/x.jpg",
            "<file-url>" + dir.path() + "missing/x.ssd",
            "<file-url>" + dir.path() + "missing/deeper/x.ssd",
            "<file-url>" + dir.path() + "a/../a/w.ssd",
            "<boxcover-url>" + dir.path() + "a/../a/w-box.jpg",
            "<file-url>" + dir.path() + "missing/../a/v.ssd",
            "<file-url>" + dir.path() + "link/v.ssd",
            "<picture-url>" + dir.path() + "link/v.jpg",
            "<file-url>" + dir.path() + "a/x.ssd/../v.ssd",
            "<file-url>" + dir.path() + "a\\v.ssd",
        }));
}

TEST(ProgramsFile, PublishersGroupedCaseInsensitivelyKeepingListOrder)
{
    Catalogue c;
    // In byte order C would come before a and b, and A before a.
    c.ProgramList = {Program("C", "C1"), Program("b", "B1"), Program("a", "a1"), Program("A", "A1"),
        Program("", "NoPub"), Program("A", "A2"), Program("b", "B2")};
    c.ProgramList[3].EmuWarningEmus = {"BeebEm"};
    c.ProgramList[3].EmuWarningTexts = {"Slow"};
    const std::string bytes = ProgramsFileBytes(c);
    auto at = [&](const std::string& s) { return bytes.find(s); };
    auto valuesOf = [](const std::string& text, const std::string& tag) {
        std::vector<std::string> values;
        const std::string open = "<" + tag + ">";
        for (std::size_t from = text.find(open); from != std::string::npos; from = text.find(open, from + 1)) {
            const std::size_t value = from + open.size();
            values.push_back(text.substr(value, text.find('<', value) - value));
        }
        return values;
    };
    // The empty publisher first, then without regard to case; a and A, equal so, in the
    // order of the list. Each publisher's programs in the order of the list.
    const std::vector<std::string> publishers = {"", "a", "A", "b", "C"};
    const std::vector<std::string> names = {"NoPub", "a1", "A1", "A2", "B1", "B2", "C1"};
    EXPECT_EQ(valuesOf(bytes, "publisher-name"), publishers);
    EXPECT_EQ(valuesOf(bytes, "program-name"), names);
    EXPECT_NE(at("      <emuwarnings>\r\n        <emuwarning>\r\n          <emu-name>BeebEm</emu-name>\r\n"
                 "          <warningtext>Slow</warningtext>\r\n        </emuwarning>\r\n      </emuwarnings>\r\n"),
        std::string::npos);

    // A program with nothing extra has exactly its five leaves.
    EXPECT_NE(
        at("    <program>\r\n      <program-name>B2</program-name>\r\n      <program-type>Arcade</program-type>\r\n"
           "      <file-url>C:\\Games\\B2.ssd</file-url>\r\n      <favourite>false</favourite>\r\n"
           "      <e00dfs>false</e00dfs>\r\n    </program>\r\n"),
        std::string::npos);

    TempDir dir;
    c.AppDir = dir.path();
    std::filesystem::create_directory(dir / "Data");
    EXPECT_TRUE(SaveProgramsFile(c).Ok());
    Catalogue loaded;
    loaded.AppDir = dir.path();
    FakePrompts prompts;
    EXPECT_TRUE(LoadProgramsFile(loaded, prompts).Ok());
    EXPECT_TRUE(prompts.shown.empty());
    // After the reload the list is grouped by publisher.
    std::vector<std::string> loadedNames;
    for (const ProgramRecord& program : loaded.ProgramList)
        loadedNames.push_back(program.ProgramName);
    EXPECT_EQ(loadedNames, names);
    EXPECT_EQ(loaded.ProgramList[0].PublisherName, "");
    // Saving the reloaded catalogue gives the same bytes.
    EXPECT_EQ(ProgramsFileBytes(loaded), bytes);
}

TEST(ProgramsFile, RoundTripKeepsEveryFieldByteForByte)
{
    TempDir dir;
    Catalogue c;
    c.AppDir = dir.path();
    ProgramRecord p = Program("Bug-Byte \"&\" <Co>", "Manic 'Miner'", "/g/Manic.ssd");
    p.ProgramType = "Platform \xC3\xA9";
    p.E00Dfs = true;
    p.Comments = {"line one", "", "line <three> &amp;"};
    p.EmuWarningEmus = {"BeebEm", "B-Em"};
    p.EmuWarningTexts = {"No sound", "Use Master"};
    p.DocLinkNames = {"A", "B"};
    p.DocLinkUrls = {"/docs/a.pdf", "mailto:x@y"};
    c.ProgramList.push_back(p);
    std::filesystem::create_directory(dir / "Data");
    EXPECT_TRUE(SaveProgramsFile(c).Ok());
    const std::string first = dir.Read("Data/programs.xml");

    Catalogue loaded;
    loaded.AppDir = dir.path();
    FakePrompts prompts;
    std::vector<std::string> progress;
    EXPECT_TRUE(LoadProgramsFile(loaded, prompts, [&](const std::string& s) { progress.push_back(s); }).Ok());
    ASSERT_EQ(loaded.ProgramList.size(), 1u);
    EXPECT_EQ(loaded.ProgramList[0], p);
    EXPECT_EQ(progress, (std::vector<std::string>{"Loading programs...", "Loading programs: 1"}));
    EXPECT_TRUE(SaveProgramsFile(loaded).Ok());
    EXPECT_EQ(dir.Read("Data/programs.xml"), first);
}

TEST(ProgramsFile, HandWrittenFileWithMissingUnknownAndSplitElements)
{
    TempDir dir;
    dir.Write("Data/programs.xml",
        "<?xml version=\"1.0\"?>\n<programs><vorbix-version>9</vorbix-version>\n"
        "<publisher><publisher-name>Superior</publisher-name>\n"
        "  <program>\n    <program-name>Repton\n      Two</program-name>\n"
        "    <favourite>TRUE</favourite><e00dfs>true</e00dfs><rating>5</rating>\n"
        "    <file-url>/g/r2.ssd</file-url><commentline>loose</commentline>\n"
        "    <emuwarnings><emuwarning><emu-name>X</emu-name></emuwarning></emuwarnings>\n"
        "  </program>\n"
        "  <program><program-name>Citadel</program-name><program-type>Adv</program-type>"
        "<file-url></file-url><favourite>True</favourite><e00dfs/></program>\n"
        "</publisher>\n<publisher><program><program-name>Orphan</program-name></program></publisher></programs>\n");
    Catalogue c;
    c.AppDir = dir.path();
    FakePrompts prompts;
    EXPECT_TRUE(LoadProgramsFile(c, prompts).Ok());
    ASSERT_EQ(c.ProgramList.size(), 3u);
    const ProgramRecord& repton = c.ProgramList[0];
    EXPECT_EQ(repton.ProgramName, "ReptonTwo");
    EXPECT_EQ(repton.ProgramType, kNoFocus);
    EXPECT_FALSE(repton.Favourite);
    EXPECT_TRUE(repton.E00Dfs);
    EXPECT_EQ(repton.Comments, StringList{"loose"});
    EXPECT_EQ(repton.EmuWarningEmus, StringList{"X"});
    EXPECT_EQ(repton.EmuWarningTexts, StringList{kNoFocus});
    EXPECT_FALSE(c.ProgramList[1].Favourite);
    EXPECT_FALSE(c.ProgramList[1].E00Dfs); // "<e00dfs/>" is not an element of this dialect
    EXPECT_EQ(c.ProgramList[1].FileUrl, "");
    EXPECT_EQ(c.ProgramList[2].PublisherName, kNoFocus);
    // One message per missing element, gathered in one box: Repton's type and warning text;
    // Citadel's e00dfs; the orphan's publisher-name, type, file, favourite and e00dfs.
    EXPECT_EQ(prompts.Texts(),
        std::vector<std::string>{
            "Reading " + c.AppFile("Data/programs.xml") + " gave 8 messages:\n" + kNoFocus + " (8 times)"});
}

TEST(ProgramsFile, MissingFileGivesAnEmptyCatalogueAndUnreadableFileAnError)
{
    TempDir dir;
    Catalogue c;
    c.AppDir = dir.path();
    c.ProgramList.push_back(Program("x", "y"));
    FakePrompts prompts;
    EXPECT_TRUE(LoadProgramsFile(c, prompts).Ok());
    EXPECT_TRUE(c.ProgramList.empty());
    EXPECT_TRUE(prompts.shown.empty());
    std::filesystem::create_directories(dir / "Data/programs.xml");
    EXPECT_EQ(LoadProgramsFile(c, prompts).Message(), "Cannot open file " + dir / "Data/programs.xml");
}

TEST(ProgramsFile, DamagedFileIsReportedAndCopiedAsideBeforeAnythingCanReplaceIt)
{
    TempDir dir;
    Catalogue c;
    c.AppDir = dir.path();
    c.ProgramList = {Program("A", "One"), Program("A", "Two"), Program("A", "Three")};
    std::filesystem::create_directory(dir / "Data");
    EXPECT_TRUE(SaveProgramsFile(c).Ok());
    std::string whole = dir.Read("Data/programs.xml");
    // Cut inside the third program: the publisher group is cut off too, yet the two whole
    // programs before the cut still load.
    const std::string truncated = whole.substr(0, whole.find("Three"));
    dir.Write("Data/programs.xml", truncated);
    Catalogue loaded;
    loaded.AppDir = dir.path();
    FakePrompts prompts;
    EXPECT_TRUE(LoadProgramsFile(loaded, prompts, {}, LoadAccess::KeepCopies).Ok());
    ASSERT_EQ(loaded.ProgramList.size(), 2u);
    EXPECT_EQ(loaded.ProgramList[1].ProgramName, "Two");
    ASSERT_EQ(prompts.shown.size(), 1u);
    const std::string path = dir / "Data/programs.xml";
    EXPECT_EQ(prompts.shown[0].request.Text,
        "File " + path
            + " is damaged: the file ends inside the 3rd "
              "<program-name>. What could be read was loaded (2 programs, the last of them Two); the file was "
              "copied to "
            + path + ".damaged-1.");
    EXPECT_EQ(prompts.shown[0].request.Icon, MessageIcon::Exclamation);
    EXPECT_EQ(dir.Read("Data/programs.xml.damaged-1"), truncated);
    EXPECT_TRUE(loaded.PendingCopies.empty());

    // Binary junk in the options file: reported, copied, defaults stand.
    std::string junk;
    for (int i = 0; i < 3000; ++i)
        junk += static_cast<char>((i * 131) & 0xFF);
    dir.Write("Data/options.xml", junk);
    FakePrompts optionPrompts;
    EXPECT_TRUE(LoadOptionsFile(loaded, optionPrompts, LoadAccess::KeepCopies).Ok());
    EXPECT_EQ(dir.Read("Data/options.xml.damaged-1"), junk);
    EXPECT_EQ(loaded.LastFilter.substr(0, 4), "TXML"); // the missing leaves read as the message
    EXPECT_EQ(optionPrompts.shown.at(0).request.Text,
        "File " + dir / "Data/options.xml"
            + " is damaged: it holds no <options> element. What could be read was "
              "loaded; the file was copied to "
            + dir / "Data/options.xml.damaged-1.");
    // A whole file gives no such message.
    dir.Write("Data/programs.xml", whole);
    FakePrompts quiet;
    EXPECT_TRUE(LoadProgramsFile(loaded, quiet, {}, LoadAccess::KeepCopies).Ok());
    EXPECT_TRUE(quiet.shown.empty());
    EXPECT_FALSE(dir.Exists("Data/programs.xml.damaged-2"));
}
