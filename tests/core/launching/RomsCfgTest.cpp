#include "launching/RomsCfg.h"

#include "platform/FileSystem.h"
#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vorbix;
using vorbix::test::CrLfLines;
using vorbix::test::FakePrompts;
using vorbix::test::LfLines;
using vorbix::test::TempDir;

namespace {

using Lines = std::vector<std::string>;

// The old two-model layout: Model B in lines 0-16, Master 128 in lines 17-33.
Lines OldLayout()
{
    Lines lines{"OS12.ROM", "BASIC2.ROM"};
    for (int i = 2; i <= 16; ++i)
        lines.push_back("EMPTY");
    lines.push_back("M128\\MOS.ROM");
    for (int i = 18; i <= 24; ++i)
        lines.push_back("M128\\BANK" + std::to_string(i) + ".ROM");
    for (int i = 25; i <= 33; ++i)
        lines.push_back("EMPTY");
    return lines;
}

struct RomsCfgFile {
    TempDir dir;
    FakePrompts prompts;
    std::string emu = dir / "emu/beebem";
    std::string cfg = dir / "emu/ROMS.CFG";

    explicit RomsCfgFile(const std::string& bytes) { dir.Write("emu/ROMS.CFG", bytes); }
    std::string Bytes() const { return dir.Read("emu/ROMS.CFG"); }
    void Update(bool insert, bool isDfs, const std::string& name, bool modelB, bool master)
    {
        UpdateRomsCfg(insert, isDfs, emu, name, modelB, master, prompts);
    }
};

} // namespace

TEST(RomsCfg, ModelBInsertShiftsEntriesDownAndRemoveRestoresTheBytes)
{
    Lines lines = OldLayout();
    lines[3] = "ADFS.ROM";
    RomsCfgFile f(CrLfLines(lines));
    const std::string before = f.Bytes();

    f.Update(true, false, "game.rom", true, false);
    Lines expected = lines;
    expected[2] = "GAME.ROM";
    expected[3] = "EMPTY"; // old line 2
    expected[4] = "ADFS.ROM"; // old line 3
    EXPECT_EQ(f.Bytes(), CrLfLines(expected));

    f.Update(false, false, "Game.Rom", true, false);
    EXPECT_EQ(f.Bytes(), before);
    EXPECT_TRUE(f.prompts.shown.empty());
}

TEST(RomsCfg, FreeSlotRulesAndDfsAtTheFirstSlot)
{
    Lines lines = OldLayout();
    lines[1] = "BASIC2.ROM";
    for (std::size_t i = 2; i <= 16; ++i)
        lines[i] = "R" + std::to_string(i) + ".ROM";
    lines[9] = "  rA m "; // a free slot in mixed case with spaces
    {
        RomsCfgFile f(CrLfLines(lines));
        f.Update(true, false, "x.rom", true, false);
        Lines expected = lines;
        expected[9] = "X.ROM";
        for (std::size_t i = 10; i <= 16; ++i)
            expected[i] = lines[i - 1];
        EXPECT_EQ(f.Bytes(), CrLfLines(expected));
    }
    lines[9] = "R9.ROM";
    {
        // No free slot: the last slot line is overwritten.
        RomsCfgFile f(CrLfLines(lines));
        f.Update(true, false, "x.rom", true, false);
        Lines expected = lines;
        expected[16] = "X.ROM";
        EXPECT_EQ(f.Bytes(), CrLfLines(expected));
    }
    {
        // A DFS ROM goes to the first slot although slots are free; the last slot line is lost.
        Lines withFree = OldLayout();
        withFree[16] = "LAST.ROM";
        RomsCfgFile f(CrLfLines(withFree));
        f.Update(true, true, "dfs.rom", true, false);
        Lines expected = withFree;
        expected[1] = "DFS.ROM";
        for (std::size_t i = 2; i <= 16; ++i)
            expected[i] = withFree[i - 1];
        EXPECT_EQ(f.Bytes(), CrLfLines(expected));
        EXPECT_EQ(expected[16], "EMPTY");
    }
}

TEST(RomsCfg, PresentNamesUnknownNamesAndNamesWithSpaces)
{
    Lines lines = OldLayout();
    lines[5] = "g AME.r om"; // normalised GAME.ROM
    // Written with LF only, as emulators on Linux write it: it keeps its line ends, or the
    // emulator would read names ending in a carriage return.
    RomsCfgFile f(LfLines(lines));
    f.Update(true, false, "GAME.ROM", true, false);
    EXPECT_EQ(f.Bytes(), LfLines(lines));

    f.Update(false, false, "OTHER.ROM", true, false);
    EXPECT_EQ(f.Bytes(), LfLines(lines));

    // A name with a space is compared as the lines are, without spaces: inserted once, found
    // again by the next insert, and taken out by the removal, so entries never pile up.
    const std::string before = f.Bytes();
    f.Update(true, false, "MY GAME.ROM", true, false);
    Lines expected = lines;
    expected[2] = "MY GAME.ROM";
    for (std::size_t i = 3; i <= 16; ++i)
        expected[i] = lines[i - 1];
    EXPECT_EQ(f.Bytes(), LfLines(expected));
    f.Update(true, false, "MY GAME.ROM", true, false);
    EXPECT_EQ(f.Bytes(), LfLines(expected));
    f.Update(false, false, "MY GAME.ROM", true, false);
    EXPECT_EQ(f.Bytes(), before);
}

TEST(RomsCfg, Master128SectionAndBothFlags)
{
    Lines lines = OldLayout();
    RomsCfgFile f(CrLfLines(lines));
    f.Update(true, false, "game.rom", false, true);
    Lines expected = lines;
    expected[25] = "M128\\GAME.ROM";
    EXPECT_EQ(f.Bytes(), CrLfLines(expected));
    f.Update(false, false, "game.rom", false, true);
    EXPECT_EQ(f.Bytes(), CrLfLines(lines));

    // Already present in lines 18 to 24, which are checked but never slots.
    f.Update(true, false, "bank20.rom", false, true);
    EXPECT_EQ(f.Bytes(), CrLfLines(lines));
    // ...and not removed from there either.
    f.Update(false, false, "bank20.rom", false, true);
    EXPECT_EQ(f.Bytes(), CrLfLines(lines));

    // Both flags: the Model B section without prefix.
    f.Update(true, false, "game.rom", true, true);
    expected = lines;
    expected[2] = "GAME.ROM";
    EXPECT_EQ(f.Bytes(), CrLfLines(expected));
    EXPECT_TRUE(f.prompts.shown.empty());
}

TEST(RomsCfg, MissingShortAndUnwritableFilesAreReportedAndLeftAlone)
{
    FakePrompts prompts;
    TempDir dir;
    UpdateRomsCfg(true, false, dir / "emu/beebem", "game.rom", true, false, prompts);
    EXPECT_EQ(prompts.Errors(), Lines{"Cannot find file " + dir / "emu/ROMS.CFG"});
    EXPECT_FALSE(dir.Exists("emu/ROMS.CFG"));

    // Neither flag: nothing is looked at.
    UpdateRomsCfg(true, false, dir / "emu/beebem", "game.rom", false, false, prompts);
    EXPECT_EQ(prompts.Errors().size(), 1u);

    Lines lines = OldLayout();
    lines.resize(16);
    RomsCfgFile shortB(CrLfLines(lines));
    shortB.Update(true, false, "game.rom", true, false);
    EXPECT_EQ(shortB.prompts.Errors(), Lines{"Cannot process file " + shortB.cfg + ": too few lines"});
    EXPECT_EQ(shortB.Bytes(), CrLfLines(lines));

    lines = OldLayout();
    lines.resize(33);
    RomsCfgFile shortMaster(CrLfLines(lines));
    shortMaster.Update(false, false, "game.rom", false, true);
    EXPECT_EQ(shortMaster.prompts.Errors(), Lines{"Cannot process file " + shortMaster.cfg + ": too few lines"});
    shortMaster.Update(true, false, "game.rom", true, false); // 33 lines are enough for Model B
    EXPECT_EQ(shortMaster.prompts.Errors().size(), 1u);

    RomsCfgFile empty("");
    empty.Update(true, true, "DFS.ROM", true, false);
    EXPECT_EQ(empty.Bytes(), "");
    EXPECT_EQ(empty.prompts.Errors().size(), 1u);

    // Not a ROM configuration at all: NUL bytes, other control bytes, more than 1 MB. The
    // file is left as it is and the launch goes on, as for a missing one.
    std::string big = CrLfLines(OldLayout());
    big.resize((1 << 20) + 1, ' ');
    for (const std::string& junk :
        {CrLfLines(OldLayout()) + std::string(1, '\0'), std::string("\x01\x02garbage"), big}) {
        RomsCfgFile notCfg(junk);
        notCfg.Update(true, false, "game.rom", true, false);
        EXPECT_EQ(notCfg.prompts.Errors(), Lines{notCfg.cfg + " does not look like a ROM configuration file"});
        EXPECT_EQ(notCfg.Bytes(), junk);
    }

    RomsCfgFile locked(CrLfLines(OldLayout()));
    vorbix::test::SetMode(locked.cfg, 0444);
    vorbix::test::SetMode(locked.dir / "emu", 0555);
    locked.Update(true, false, "game.rom", true, false);
    EXPECT_EQ(locked.prompts.Errors(), Lines{"Cannot create file " + locked.cfg});
    EXPECT_EQ(locked.Bytes(), CrLfLines(OldLayout()));
}

TEST(RomsCfg, NamesThatCannotBeEntryLinesAreRefused)
{
    for (const std::string& name :
        {std::string(), std::string("  "), std::string("#x.rom"), std::string("a\nb.rom"), std::string("a\rb")}) {
        RomsCfgFile f(CrLfLines(OldLayout()));
        f.Update(true, false, name, true, false);
        EXPECT_EQ(f.prompts.Errors(), Lines{"Cannot process file " + f.cfg + ": invalid rom name " + name});
        EXPECT_EQ(f.Bytes(), CrLfLines(OldLayout()));
    }
    // With its prefix a Master 128 name is a proper entry.
    RomsCfgFile f(CrLfLines(OldLayout()));
    f.Update(true, false, "#x.rom", false, true);
    EXPECT_TRUE(f.prompts.shown.empty());
    EXPECT_EQ(ReadFileLines(f.cfg).Value()[25], "M128\\#X.ROM");
}

TEST(RomsCfg, LowerCaseFileNameIsFoundOnCaseSensitiveFileSystems)
{
    TempDir dir;
    dir.Write("emu/roms.cfg", CrLfLines(OldLayout()));
    FakePrompts prompts;
    EXPECT_EQ(RomsCfgPath(dir / "emu/beebem"), dir / "emu/roms.cfg");
    UpdateRomsCfg(true, false, dir / "emu/beebem", "game.rom", true, false, prompts);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(ReadFileLines(dir / "emu/roms.cfg").Value()[2], "GAME.ROM");
    EXPECT_FALSE(dir.Exists("emu/ROMS.CFG"));
}

namespace {

const char* const kModels[] = {"BBC B", "BBC B with Integra-B", "BBC B Plus", "Master 128", "Master ET"};

std::string EntryName(int m, int e)
{
    return std::string(m == 3 ? "M128\\" : "") + "m" + std::to_string(m) + "e" + std::to_string(e) + ".rom";
}

// The five-model layout: a heading with blank lines around it before each block of 17.
Lines FiveModels()
{
    Lines lines{"# Roms configuration"};
    for (int m = 0; m < 5; ++m) {
        lines.push_back("");
        lines.push_back(std::string("# ") + kModels[m]);
        lines.push_back("   ");
        for (int e = 0; e < 17; ++e)
            lines.push_back(e >= 8 && e % 2 == 0 ? "EMPTY" : EntryName(m, e));
    }
    return lines;
}

// Index in FiveModels() of entry e of model m.
std::size_t At(int m, int e)
{
    return 1 + static_cast<std::size_t>(m) * 20 + 3 + static_cast<std::size_t>(e);
}

} // namespace

TEST(RomsCfg, FiveModelFileTouchesOnlyTheFourthBlockForTheMaster128)
{
    const Lines lines = FiveModels();
    RomsCfgFile f(CrLfLines(lines));
    f.Update(true, false, "game.rom", false, true);
    // Slots of the fourth block are entries 8-16; entry 8 is the first free one.
    Lines expected = lines;
    expected[At(3, 8)] = "M128\\GAME.ROM";
    for (int e = 9; e <= 16; ++e)
        expected[At(3, e)] = lines[At(3, e - 1)];
    EXPECT_EQ(f.Bytes(), CrLfLines(expected));

    // A name in the fourth block's lines before its first slot is present already.
    const std::string beforeSecond = f.Bytes();
    f.Update(true, false, "m3e5.rom", false, true);
    EXPECT_EQ(f.Bytes(), beforeSecond);

    RomsCfgFile g(CrLfLines(lines));
    g.Update(true, false, "game.rom", false, true);
    g.Update(false, false, "game.rom", false, true);
    EXPECT_EQ(g.Bytes(), CrLfLines(lines));
    g.Update(true, true, "e00dfs.rom", false, true);
    Lines dfs = lines;
    dfs[At(3, 8)] = "M128\\E00DFS.ROM";
    for (int e = 9; e <= 16; ++e)
        dfs[At(3, e)] = lines[At(3, e - 1)];
    EXPECT_EQ(g.Bytes(), CrLfLines(dfs));

    // Model B is the first block whatever the layout.
    RomsCfgFile b(CrLfLines(lines));
    b.Update(true, false, "game.rom", true, false);
    Lines modelB = lines;
    modelB[At(0, 8)] = "GAME.ROM";
    for (int e = 9; e <= 16; ++e)
        modelB[At(0, e)] = lines[At(0, e - 1)];
    EXPECT_EQ(b.Bytes(), CrLfLines(modelB));
    EXPECT_TRUE(f.prompts.shown.empty());
}

TEST(RomsCfg, FourModelFileAndTheBoundaryAt68Entries)
{
    Lines lines = FiveModels();
    lines.resize(At(3, 16) + 1); // four models: 68 entries
    RomsCfgFile four(CrLfLines(lines));
    four.Update(true, false, "game.rom", false, true);
    EXPECT_EQ(ReadFileLines(four.cfg).Value()[At(3, 8)], "M128\\GAME.ROM");

    lines.pop_back(); // 67 entries: the Master 128 is the second block
    RomsCfgFile two(CrLfLines(lines));
    two.Update(true, false, "game.rom", false, true);
    Lines expected = lines;
    expected[At(1, 8)] = "M128\\GAME.ROM";
    for (int e = 9; e <= 16; ++e)
        expected[At(1, e)] = lines[At(1, e - 1)];
    EXPECT_EQ(two.Bytes(), CrLfLines(expected));
}

TEST(RomsCfg, OnlyTheSixteenLinesEndingAtTheLastSlotAreChecked)
{
    // Model B: line 0 (the OS ROM) is not checked, so a name equal to it still goes in.
    Lines lines = OldLayout();
    {
        RomsCfgFile f(CrLfLines(lines));
        f.Update(true, false, "os12.rom", true, false);
        Lines expected = lines;
        expected[2] = "OS12.ROM";
        for (std::size_t i = 3; i <= 16; ++i)
            expected[i] = lines[i - 1];
        EXPECT_EQ(f.Bytes(), CrLfLines(expected));
        // Removing takes the slot entry, never line 0.
        f.Update(false, false, "OS12.ROM", true, false);
        EXPECT_EQ(f.Bytes(), CrLfLines(lines));
        f.Update(false, false, "OS12.ROM", true, false);
        EXPECT_EQ(f.Bytes(), CrLfLines(lines));
    }
    // Master 128: line 17 is not checked; line 18 is.
    {
        RomsCfgFile f(CrLfLines(lines));
        f.Update(true, false, "mos.rom", false, true);
        Lines expected = lines;
        expected[25] = "M128\\MOS.ROM";
        EXPECT_EQ(f.Bytes(), CrLfLines(expected));
    }
    {
        RomsCfgFile f(CrLfLines(lines));
        f.Update(true, false, "bank18.rom", false, true);
        EXPECT_EQ(f.Bytes(), CrLfLines(lines));
    }
    // A Model B name listed only in the Master 128 block is not present for Model B.
    {
        RomsCfgFile f(CrLfLines(lines));
        f.Update(true, false, "M128\\BANK20.ROM", true, false);
        EXPECT_EQ(ReadFileLines(f.cfg).Value()[2], "M128\\BANK20.ROM");
        EXPECT_EQ(ReadFileLines(f.cfg).Value()[20], "M128\\BANK20.ROM");
    }
}

TEST(RomsCfg, RemovalTakesTheLowestMatchingSlotAndRefillsTheLastWithEmpty)
{
    Lines lines = OldLayout();
    for (std::size_t i = 1; i <= 16; ++i)
        lines[i] = "R" + std::to_string(i) + ".ROM";
    lines[4] = "dup.rom";
    lines[9] = "D U P.ROM";
    RomsCfgFile f(CrLfLines(lines));
    f.Update(false, false, "Dup.Rom", true, false);
    Lines expected = lines;
    for (std::size_t i = 4; i <= 15; ++i)
        expected[i] = lines[i + 1];
    expected[16] = "EMPTY";
    EXPECT_EQ(f.Bytes(), CrLfLines(expected));
    f.Update(false, false, "dup.rom", true, false);
    Lines second = expected;
    for (std::size_t i = 8; i <= 15; ++i)
        second[i] = expected[i + 1];
    second[16] = "EMPTY";
    EXPECT_EQ(f.Bytes(), CrLfLines(second));
}

TEST(RomsCfg, LineHelpersAtTheLastSlotAndOutsideTheLines)
{
    Lines lines{"a", "b", "c", "d"};
    InsertRomLine(lines, "X", 3, 3);
    EXPECT_EQ(lines, (Lines{"a", "b", "c", "X"}));
    InsertRomLine(lines, "Y", 1, 3);
    EXPECT_EQ(lines, (Lines{"a", "Y", "b", "c"}));
    RemoveRomLine(lines, 3, 3);
    EXPECT_EQ(lines, (Lines{"a", "Y", "b", "EMPTY"}));
    RemoveRomLine(lines, 0, 2);
    EXPECT_EQ(lines, (Lines{"Y", "b", "EMPTY", "EMPTY"}));

    // Nothing outside the lines is read or written.
    const Lines before = lines;
    InsertRomLine(lines, "Z", 1, 4);
    RemoveRomLine(lines, 1, 4);
    InsertRomLine(lines, "Z", 3, 2);
    RemoveRomLine(lines, 3, 2);
    EXPECT_EQ(lines, before);
}

TEST(RomsCfg, ShortFilesWithCommentsCountOnlyTheirEntryLines)
{
    // 17 entries with headings and blank lines between them are enough for Model B.
    Lines lines{"# BBC B", ""};
    const Lines old = OldLayout();
    for (std::size_t i = 0; i <= 16; ++i) {
        lines.push_back(i <= 2 ? old[i] : "R" + std::to_string(i) + ".ROM");
        if (i == 8)
            lines.push_back("  # note");
    }
    RomsCfgFile f(CrLfLines(lines));
    f.Update(true, false, "game.rom", true, false);
    EXPECT_TRUE(f.prompts.shown.empty());
    Lines expected = lines;
    expected[4] = "GAME.ROM"; // entry 2
    for (std::size_t i = 5; i < expected.size(); ++i)
        if (i != 11)
            expected[i] = lines[i == 12 ? 10 : i - 1];
    EXPECT_EQ(f.Bytes(), CrLfLines(expected));

    // Take one entry away and a blank line in its place does not make up for it.
    Lines shortLines = lines;
    shortLines.back() = "";
    RomsCfgFile g(CrLfLines(shortLines));
    g.Update(true, false, "game.rom", true, false);
    EXPECT_EQ(g.prompts.Errors(), Lines{"Cannot process file " + g.cfg + ": too few lines"});
    EXPECT_EQ(g.Bytes(), CrLfLines(shortLines));
}
