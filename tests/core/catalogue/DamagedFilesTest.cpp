// Damaged catalogue files, through real files: the check of their structure, the copy kept
// beside them under a name never used before, and the save that refuses to replace a file
// whose copy could not be kept.

#include "catalogue/Main_LoadSaveUnit.h"
#include "catalogue/XMLUtilities.h"

#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/TempDir.h"
#include "support/Writers.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vorbix;
using vorbix::test::CatalogueIn;
using vorbix::test::FakePrompts;
using vorbix::test::MakeProgram;
using vorbix::test::TempDir;

namespace {

// A catalogue whose values hold the texts of the dialect's own tags and every character
// the writer escapes: a file written from it must never look damaged.
Catalogue TagLikeValues(const std::string& appDir)
{
    Catalogue c = CatalogueIn(appDir);
    ProgramRecord a = MakeProgram("Bug <Byte> & Co", "</program> & <publisher>", "<type>", "/g/a&b<c>.ssd");
    a.Comments = {"&lt; stays &amp; text", "see </program> here", "</commentline></programs>'\""};
    a.EmuWarningEmus = {"<emu-name>"};
    a.EmuWarningTexts = {"</warningtext></emuwarning>"};
    a.DocLinkNames = {"<doclink>"};
    a.DocLinkUrls = {"http://x.org/?a=1&b=<2>"};
    c.ProgramList = {a, MakeProgram("Bug <Byte> & Co", "Two", "T", "/g/two.ssd"), MakeProgram("", "", "", "")};
    EmuRecord emu;
    emu.EmuName = "</emulator>";
    emu.EnvVarName = "<environment-var>";
    c.EmuList = {emu, EmuRecord{}};
    c.FilterList = {{"</filter>", "<publisher>", "=", "any", "<>", FavouriteCondition::fcTrue}};
    c.Publishers.Add("</publishers>");
    c.ProgramTypes.Add("<type>");
    c.Options.PictureUrl = "</other-options>";
    return c;
}

void WriteSoundFiles(const TempDir& dir)
{
    Catalogue c = TagLikeValues(dir.path());
    c.LastFilter = "</last-filter>";
    c.LastEmu = "<last-emu>";
    ASSERT_TRUE(SaveCatalogue(c, false).Ok());
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// The n-th (from 1) occurrence of what removed.
std::string RemovedNth(std::string text, const std::string& what, int n)
{
    std::size_t at = std::string::npos;
    for (int i = 0; i < n; ++i)
        at = text.find(what, at == std::string::npos ? 0 : at + 1);
    EXPECT_NE(at, std::string::npos) << what;
    if (at != std::string::npos)
        text.erase(at, what.size());
    return text;
}

// What a load told the user besides the reader's own "No focus set" for missing leaves
// (gathered into one box when there are several).
std::vector<std::string> Reported(const FakePrompts& prompts)
{
    std::vector<std::string> texts;
    for (const std::string& text : prompts.Texts())
        if (text != kNoFocusMessage && text.find(std::string(" messages:\n") + kNoFocusMessage) == std::string::npos)
            texts.push_back(text);
    return texts;
}

// read: for the programs file, what was loaded of it: " (N programs, the last of them NAME)".
std::string DamagedCopied(const std::string& path, const std::string& fault, const std::string& copy,
    const std::string& read = {})
{
    return "File " + path + " is damaged: " + fault + ". What could be read was loaded" + read
        + "; the file was copied to " + copy + ".";
}

} // namespace

TEST(DamagedFiles, EveryStructuralFaultIsFoundAndAFileOfOurWriterNeverIs)
{
    {
        // Written by our writer, whatever the values hold: no message, nothing written.
        TempDir dir;
        WriteSoundFiles(dir);
        const auto before = dir.Contents();
        Catalogue c = CatalogueIn(dir.path());
        FakePrompts prompts;
        ASSERT_TRUE(LoadCatalogue(c, prompts, {}, LoadAccess::KeepCopies).Ok());
        EXPECT_EQ(prompts.Texts(), std::vector<std::string>{});
        EXPECT_EQ(dir.Contents(), before);
        EXPECT_EQ(c.ProgramList.size(), 3u);
        EXPECT_EQ(c.EmuList.at(0).EnvVarName, "<environment-var>");
    }

    struct Case {
        const char* file;
        std::function<std::string(const std::string&)> damage;
        std::string fault;
        std::string read; // what the message says was loaded of a programs file
    };
    const std::string allThree = " (3 programs, the last of them Two)";
    const Case cases[] = {
        // A program without its closing tag: the next program opens inside it.
        {kProgramsFile, [](const std::string& s) { return RemovedNth(s, "    </program>\r\n", 2); },
            "the 2nd <program> is not closed", allThree},
        // An emulator without its closing tag, met by the end of the list.
        {kOptionsFile, [](const std::string& s) { return RemovedNth(s, "    </emulator>\r\n", 2); },
            "the 2nd <emulator> is not closed"},
        // Hand-edited values that hold a closing tag as it is.
        {kProgramsFile,
            [](const std::string& s) { return Replaced(s, "see &lt;/program&gt; here", "see </program> here"); },
            "the 2nd <commentline> holds a stray </program>", allThree},
        {kOptionsFile, [](const std::string& s) { return Replaced(s, "&lt;/filter&gt;", "</filter>"); },
            "the 1st <filter-name> holds a stray </filter>"},
        // Elements where the dialect has none: a filter pasted into the emulators, a second
        // name in one program, a second list of emulators.
        {kOptionsFile,
            [](const std::string& s) {
                return Replaced(s, "  </emulators>", "<filter><filter-name>Lost</filter-name></filter></emulators>");
            },
            "a <filter> stands inside the 1st <emulators>, where it does not belong"},
        {kProgramsFile,
            [](const std::string& s) {
                return Replaced(s, "<program-name>Two</program-name>",
                    "<program-name>Two</program-name><program-name>2</program-name>");
            },
            "the 3rd <program> holds a second <program-name>", allThree},
        {kOptionsFile,
            [](const std::string& s) { return Replaced(s, "  <filters>", "<emulators></emulators><filters>"); },
            "the 1st <options> holds a second <emulators>"},
        // Truncated files, and what is no catalogue file at all.
        {kProgramsFile, [](const std::string& s) { return s.substr(0, s.find("Two</program-name>") + 3); },
            "the file ends inside the 3rd <program-name>", " (2 programs, the last of them </program> & <publisher>)"},
        {kOptionsFile, [](const std::string& s) { return s.substr(0, s.find("<filters>") + 9); },
            "the file ends inside the 1st <filters>"},
        {kProgramsFile, [](const std::string&) { return std::string(); }, "it holds no <programs> element",
            " (0 programs)"},
        {kProgramsFile, [](const std::string& s) { return s + "</programs>\r\n"; },
            "a stray </programs> stands outside <programs>", allThree},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.fault);
        TempDir dir;
        WriteSoundFiles(dir);
        const std::string damaged = test.damage(dir.Read(test.file));
        dir.Write(test.file, damaged);
        Catalogue c = CatalogueIn(dir.path());
        FakePrompts prompts;
        ASSERT_TRUE(LoadCatalogue(c, prompts, {}, LoadAccess::KeepCopies).Ok());
        const std::string path = dir / test.file;
        EXPECT_EQ(Reported(prompts),
            std::vector<std::string>{DamagedCopied(path, test.fault, path + ".damaged-1", test.read)});
        EXPECT_EQ(dir.Read(std::string(test.file) + ".damaged-1"), damaged);
        EXPECT_EQ(dir.Read(test.file), damaged);
    }
}

TEST(DamagedFiles, EachDamagedLoadKeepsANewCopyAndNeverTouchesAnEarlierOne)
{
    TempDir dir;
    WriteSoundFiles(dir);
    const std::string sound = dir.Read(kProgramsFile);
    const std::string path = dir / kProgramsFile;
    const std::string first = sound.substr(0, sound.size() / 2);
    dir.Write(kProgramsFile, first);
    {
        Catalogue c = CatalogueIn(dir.path());
        FakePrompts prompts;
        ASSERT_TRUE(LoadCatalogue(c, prompts, {}, LoadAccess::KeepCopies).Ok());
        EXPECT_NE(Reported(prompts).at(0).find("the file was copied to " + path + ".damaged-1."), std::string::npos);
    }
    // A file of the user's at the next name stays as it is; the copy goes past it.
    dir.Write("Data/programs.xml.damaged-2", "mine");
    const std::string second = sound.substr(0, sound.size() / 3);
    dir.Write(kProgramsFile, second);
    Catalogue c = CatalogueIn(dir.path());
    FakePrompts prompts;
    ASSERT_TRUE(LoadCatalogue(c, prompts, {}, LoadAccess::KeepCopies).Ok());
    EXPECT_NE(Reported(prompts).at(0).find("the file was copied to " + path + ".damaged-3."), std::string::npos);
    EXPECT_EQ(dir.Read("Data/programs.xml.damaged-1"), first);
    EXPECT_EQ(dir.Read("Data/programs.xml.damaged-2"), "mine");
    EXPECT_EQ(dir.Read("Data/programs.xml.damaged-3"), second);

    // The next start on the same damaged file finds its copy kept already: none is added.
    {
        Catalogue again = CatalogueIn(dir.path());
        FakePrompts next;
        ASSERT_TRUE(LoadCatalogue(again, next, {}, LoadAccess::KeepCopies).Ok());
        EXPECT_NE(Reported(next).at(0).find("the file was copied to " + path + ".damaged-3."), std::string::npos);
        EXPECT_FALSE(dir.Exists("Data/programs.xml.damaged-4"));
    }

    // With the copy kept, the save replaces the damaged file and leaves every copy alone.
    const Result<SavedFiles> saved = SaveCatalogue(c, false);
    ASSERT_TRUE(saved.Ok()) << saved.Message();
    EXPECT_TRUE(saved.Value().Notices.empty());
    EXPECT_EQ(dir.Read(kProgramsFile), ProgramsFileBytes(c));
    EXPECT_EQ(dir.Read("Data/programs.xml.damaged-1"), first);
    EXPECT_EQ(dir.Read("Data/programs.xml.damaged-3"), second);
    EXPECT_FALSE(dir.Exists("Data/programs.xml.damaged-4"));
}

TEST(DamagedFiles, WithoutACopyTheSaveLeavesTheDamagedFileAsItIs)
{
    {
        // A full disk: a long damaged file cannot be copied, while the short file that the
        // save would write fits. The save of the programs file is refused (and the options
        // file is not written after it) until the copy can be kept.
        TempDir dir;
        WriteSoundFiles(dir);
        const std::string sound = dir.Read(kProgramsFile);
        const std::string damaged =
            sound.substr(0, sound.find("<program-name>Two")) + "<program-name>" + std::string(20000, 'x');
        dir.Write(kProgramsFile, damaged);
        const std::string options = dir.Read(kOptionsFile);
        const std::string path = dir / kProgramsFile;
        test::FailingWriter fullDisk(8000);
        Catalogue c = CatalogueIn(dir.path());
        FakePrompts prompts;
        ASSERT_TRUE(LoadCatalogue(c, prompts, {}, LoadAccess::KeepCopies, fullDisk).Ok());
        EXPECT_EQ(Reported(prompts).at(0),
            "File " + path
                + " is damaged: the file ends inside the 3rd <program-name>. What could be read was "
                  "loaded (2 programs, the last of them </program> & <publisher>), but no copy of it could be kept "
                  "(Cannot create file "
                + path
                + ".damaged-1), so it will not be "
                  "saved over until a copy can be kept beside it.");
        EXPECT_FALSE(dir.Exists("Data/programs.xml.damaged-1"));
        ASSERT_LT(ProgramsFileBytes(c).size(), 8000u);

        const Result<SavedFiles> refused = SaveCatalogue(c, false, fullDisk);
        ASSERT_FALSE(refused.Ok());
        EXPECT_EQ(refused.Error(),
            (Failure{"Cannot save " + path
                    + ": the file is damaged and no copy of it "
                      "could be kept (Cannot create file "
                    + path
                    + ".damaged-1). It was "
                      "left as it is.",
                path}));
        EXPECT_EQ(dir.Read(kProgramsFile), damaged);
        EXPECT_EQ(dir.Read(kOptionsFile), options);
        EXPECT_FALSE(dir.Exists("Data/programs.xml.damaged-1"));
        // Nor does the file's own save go past it.
        EXPECT_FALSE(SaveProgramsFile(c).Ok());
        EXPECT_EQ(dir.Read(kProgramsFile), damaged);

        // Once there is room, the save keeps the copy first and says where.
        const Result<SavedFiles> saved = SaveCatalogue(c, false);
        ASSERT_TRUE(saved.Ok()) << saved.Message();
        EXPECT_EQ(saved.Value().Notices,
            std::vector<std::string>{
                "The damaged file " + path + " was copied to " + path + ".damaged-1 before it was saved over."});
        EXPECT_EQ(dir.Read("Data/programs.xml.damaged-1"), damaged);
        EXPECT_EQ(dir.Read(kProgramsFile), ProgramsFileBytes(c));
    }
    {
        // A read-only Data folder, with a damaged options file: the save at exit (options
        // file only) is refused and the file stays as it is.
        TempDir dir;
        WriteSoundFiles(dir);
        const std::string damaged = RemovedNth(dir.Read(kOptionsFile), "    </emulator>\r\n", 1);
        dir.Write(kOptionsFile, damaged);
        const std::string path = dir / kOptionsFile;
        test::SetMode(dir / "Data", 0555);
        Catalogue c = CatalogueIn(dir.path());
        FakePrompts prompts;
        ASSERT_TRUE(LoadCatalogue(c, prompts, {}, LoadAccess::KeepCopies).Ok());
        EXPECT_NE(Reported(prompts).at(0).find(
                      "but no copy of it could be kept (Cannot create file " + path + ".damaged-1)"),
            std::string::npos);
        const Result<SavedFiles> refused = SaveCatalogue(c, true);
        test::SetMode(dir / "Data", 0755);
        ASSERT_FALSE(refused.Ok());
        EXPECT_EQ(refused.Message().rfind("Cannot save " + path + ": the file is damaged and no copy", 0), 0u);
        EXPECT_EQ(dir.Read(kOptionsFile), damaged);
        EXPECT_FALSE(dir.Exists("Data/options.xml.damaged-1"));
    }
}

TEST(DamagedFiles, ProgramsSharingOneClosingTagEachReadOnlyTheirOwnLines)
{
    // Thousands of unclosed programs and publishers before a single closing tag: each is
    // read up to the next one, not to the end (which took time and memory growing with the
    // square of the file).
    TempDir dir;
    std::string text = "<programs>\r\n";
    constexpr int kPublishers = 30;
    constexpr int kPrograms = 100;
    for (int p = 0; p < kPublishers; ++p) {
        text += "<publisher><publisher-name>P" + std::to_string(p) + "</publisher-name>\r\n";
        for (int k = 0; k < kPrograms; ++k)
            text += "<program><program-name>N" + std::to_string(k) + "</program-name><comments><commentline>C"
                + std::to_string(k) + "</commentline></comments>\r\n";
    }
    text += "</program></publisher></programs>\r\n";
    dir.Write("Data/programs.xml", text);
    Catalogue c = CatalogueIn(dir.path());
    FakePrompts prompts;
    ASSERT_TRUE(LoadProgramsFile(c, prompts).Ok());
    ASSERT_FALSE(prompts.Texts().empty());
    EXPECT_EQ(prompts.Texts().front().rfind("File " + dir / "Data/programs.xml" + " is damaged", 0), 0u);
    ASSERT_EQ(c.ProgramList.size(), static_cast<std::size_t>(kPublishers * kPrograms));
    for (std::size_t i = 0; i < c.ProgramList.size(); ++i) {
        const ProgramRecord& program = c.ProgramList[i];
        ASSERT_EQ(program.PublisherName, "P" + std::to_string(i / kPrograms)) << i;
        ASSERT_EQ(program.ProgramName, "N" + std::to_string(i % kPrograms)) << i;
        ASSERT_EQ(program.Comments, StringList{"C" + std::to_string(i % kPrograms)}) << i;
    }
}
