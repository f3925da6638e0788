#include "catalogue/ProgramsFileParser.h"
#include "catalogue/Main_LoadSaveUnit.h"

#include "support/FakePrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace vorbix;
using vorbix::test::FakePrompts;
using vorbix::test::TempDir;

namespace {

struct Generator {
    std::mt19937 rng;

    int Pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

    std::string Value()
    {
        static const char* parts[] = {"Elite", " ", "&", "<b>", "'q'", "\"", "&amp;", "\t", "  ", "\r\n", "\n",
            "\xc3\xa9", "x", "&lt;", "\x01", "1"};
        std::string v;
        for (int i = 0, n = Pick(6); i < n; ++i)
            v += parts[Pick(16)];
        return v;
    }

    Catalogue Make()
    {
        Catalogue c;
        for (int i = 0, n = 1 + Pick(5); i < n; ++i) {
            ProgramRecord p;
            p.PublisherName = Pick(3) == 0 ? Value() : "Pub " + std::to_string(Pick(3));
            p.ProgramName = Value();
            p.ProgramType = Pick(2) ? "Arcade" : Value();
            p.FileUrl = Pick(4) == 0 ? "" : "/nowhere/" + std::to_string(i) + ".ssd";
            p.Favourite = Pick(2) == 0;
            p.E00Dfs = Pick(3) == 0;
            for (int k = 0, m = Pick(3); k < m; ++k)
                p.Comments.push_back(Value() + "x");
            for (int k = 0, m = Pick(3); k < m; ++k) {
                p.EmuWarningEmus.push_back(Value());
                p.EmuWarningTexts.push_back(Value());
            }
            for (int k = 0, m = Pick(2); k < m; ++k) {
                p.DocLinkNames.push_back(Value());
                p.DocLinkUrls.push_back(Value());
            }
            c.ProgramList.push_back(p);
        }
        return c;
    }

    // Changes the text the way hand edits and other programs do; many changes leave a file
    // that reads the same, others one the one-pass reader must refuse.
    std::string Mangle(std::string text)
    {
        const int edits = Pick(4);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = static_cast<std::size_t>(rng() % text.size());
            const std::size_t lineStart = text.rfind('\n', at) == std::string::npos ? 0 : text.rfind('\n', at) + 1;
            const std::size_t lineEnd =
                std::min(text.size(), text.find('\n', at) == std::string::npos ? text.size() : text.find('\n', at) + 1);
            switch (Pick(12)) {
            case 0: text.insert(lineStart, std::string(static_cast<std::size_t>(Pick(4)), Pick(2) ? ' ' : '\t')); break;
            case 1: text.insert(at, Pick(2) ? "\r\n  " : "\n"); break;
            case 2: text.erase(lineStart, lineEnd - lineStart); break;
            case 3: text.insert(lineStart, text.substr(lineStart, lineEnd - lineStart)); break;
            case 4: text.insert(lineStart, Pick(2) ? "<x>\r\n" : "junk\r\n"); break;
            case 5: text.resize(at); break;
            case 6: {
                // Swaps the line with the next one.
                const std::size_t nextEnd = text.find('\n', lineEnd);
                if (lineEnd < text.size() && nextEnd != std::string::npos) {
                    const std::string first = text.substr(lineStart, lineEnd - lineStart);
                    const std::string second = text.substr(lineEnd, nextEnd + 1 - lineEnd);
                    text.replace(lineStart, nextEnd + 1 - lineStart, second + first);
                }
                break;
            }
            case 7:
                text.insert(lineStart,
                    Pick(2) ? "<commentline> direct </commentline>\r\n"
                            : "<doclink><doc-url>u</doc-url><doc-name>n</doc-name></doclink>\r\n");
                break;
            case 8:
                text.insert(lineStart, Pick(2) ? "<comments></comments>\r\n" : "<picture-url>p</picture-url>\r\n");
                break;
            case 9: {
                const std::size_t amp = text.find("&amp;", at);
                if (amp != std::string::npos)
                    text.replace(amp, 5, "&am \r\n p;");
                break;
            }
            case 10: text.insert(lineStart, "<vorbix-version>9</vorbix-version>\r\n"); break;
            default:
                for (char& c : text)
                    if (c == '\r')
                        c = Pick(2) ? '\n' : ' ';
                break;
            }
        }
        return text;
    }
};

struct Loaded {
    std::vector<ProgramRecord> programs;
    std::vector<std::string> texts;
    std::size_t pendingCopies = 0;
    std::vector<std::string> progress;
};

Loaded Load(const TempDir& dir, const std::string& bytes)
{
    dir.Write(kProgramsFile, bytes);
    Catalogue c;
    c.AppDir = dir.path();
    FakePrompts prompts;
    Loaded out;
    EXPECT_TRUE(LoadProgramsFile(c, prompts, [&](const std::string& line) { out.progress.push_back(line); }).Ok());
    out.programs = c.ProgramList;
    out.texts = prompts.Texts();
    out.pendingCopies = c.PendingCopies.size();
    return out;
}

} // namespace

// The one-pass reader takes the files laid out as the writer lays them out, and those a
// hand edit leaves in a form it knows; the tag search reader takes every file. A file both
// take must read the same: the programs, the messages and the progress lines. A tag of a
// name no reader looks for, after the root, sends a file to the tag search reader alone
// without changing what it reads there.
TEST(ProgramsFileParser, ReadsWhatTheTagSearchReaderReadsOrRefuses)
{
    TempDir dir;
    int taken = 0;
    int refused = 0;
    for (int doc = 0; doc < 1500; ++doc) {
        Generator gen{std::mt19937(static_cast<unsigned>(doc))};
        Catalogue c = gen.Make();
        const std::string bytes = doc % 5 == 0 ? ProgramsFileBytes(c) : gen.Mangle(ProgramsFileBytes(c));

        std::vector<ProgramRecord> parsed;
        const bool takes = ParseWrittenProgramsFile(bytes.data(), bytes.size(), parsed);
        (takes ? taken : refused)++;
        const Loaded fast = Load(dir, bytes);
        // Read in pieces through a window smaller than the file, which grows for a program
        // that does not fit, the file reads the same as from memory.
        {
            Result<FileStream> file = FileStream::Open(dir.path() + "/" + kProgramsFile);
            ASSERT_TRUE(file);
            std::vector<ProgramRecord> windowed;
            const ParseOutcome outcome =
                ParseWrittenProgramsFile(file.Value(), windowed, 64 + static_cast<std::size_t>(doc % 96));
            ASSERT_EQ(outcome, takes ? ParseOutcome::kRead : ParseOutcome::kRefused) << "document " << doc;
            if (takes) {
                ASSERT_EQ(windowed, parsed) << "document " << doc;
            }
        }
        const Loaded searched = Load(dir, bytes + "\r\n<zz>");
        ASSERT_EQ(fast.programs, searched.programs) << "document " << doc << ":\n" << bytes;
        ASSERT_EQ(fast.texts, searched.texts) << "document " << doc << ":\n" << bytes;
        ASSERT_EQ(fast.pendingCopies, searched.pendingCopies) << "document " << doc;
        ASSERT_EQ(fast.progress, searched.progress) << "document " << doc;
        if (takes) {
            ASSERT_EQ(parsed, searched.programs) << "document " << doc << ":\n" << bytes;
            ASSERT_TRUE(searched.texts.empty()) << "document " << doc << ":\n" << bytes;
        }
    }
    // Both readers were exercised on many files.
    EXPECT_GT(taken, 500);
    EXPECT_GT(refused, 300);
}

// What the tag search reader trims at each line break, the one-pass reader trims in a value
// that spans lines: the white space and control characters at both sides of the break.
TEST(ProgramsFileParser, ValueAcrossLinesAndItemsOutsideTheirContainers)
{
    const std::string bytes =
        "<?xml version=\"1.0\"?>\n<programs>\n<publisher><publisher-name>P</publisher-name>\n"
        "<program><e00dfs>true</e00dfs><favourite>tr\r\n  ue</favourite><program-type>T</program-type>"
        "<program-name> Elite \t\r\n\r\n\t &am\n  p;  Co\x01 \n</program-name><file-url>f</file-url>"
        "<commentline>a</commentline><comments><commentline>b</commentline></comments>"
        "<emuwarning><warningtext>w</warningtext><emu-name>e</emu-name></emuwarning>"
        "<picture-url>x</picture-url></program>\n</publisher></programs>\n\t\n";
    std::vector<ProgramRecord> parsed;
    ASSERT_TRUE(ParseWrittenProgramsFile(bytes.data(), bytes.size(), parsed));
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].ProgramName, " Elite&  Co");
    EXPECT_TRUE(parsed[0].Favourite);
    EXPECT_TRUE(parsed[0].E00Dfs);
    EXPECT_EQ(parsed[0].Comments, (StringList{"a", "b"}));
    EXPECT_EQ(parsed[0].EmuWarningEmus, (StringList{"e"}));
    EXPECT_EQ(parsed[0].EmuWarningTexts, (StringList{"w"}));

    // A missing leaf, a second one, text beside a tag, a value holding a tag, anything after
    // the root: the tag search reader's to read and report.
    for (const char* refused : {
             "<programs><publisher><publisher-name>P</publisher-name><program><program-name>a</program-name>"
             "<program-type>T</program-type><file-url>f</file-url><favourite>x</favourite></program></publisher>"
             "</programs>",
             "<programs><publisher><publisher-name>P</publisher-name><publisher-name>Q</publisher-name></publisher>"
             "</programs>",
             "<programs>x<publisher><publisher-name>P</publisher-name></publisher></programs>",
             "<programs><vorbix-version>2<i>3</i></vorbix-version></programs>",
             "<programs></programs><programs></programs>",
             "<programs></programs",
             "<!-- a > b --><programs></programs>",
         }) {
        const std::string text = refused;
        EXPECT_FALSE(ParseWrittenProgramsFile(text.data(), text.size(), parsed)) << text;
    }
}
