#include "catalogue/Main_LoadSaveUnit.h"

#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vorbix;
using vorbix::test::CatalogueIn;
using vorbix::test::CrLfLines;
using vorbix::test::FakePrompts;
using vorbix::test::LfLines;
using vorbix::test::TempDir;

namespace {

std::vector<std::string> EmuBlock(const char* name)
{
    return {name, "/emu", "-x", "EV", "ev", "SS", "ss", "DS", "ds", "/disk/", "disk", "/rom/", "rom", ".rom", "DFS.ROM",
        "E00DFS.ROM", "False", "yes"};
}

} // namespace

TEST(LegacyImport, ProgramsWithAndWithoutWarningsBlock)
{
    TempDir dir;
    dir.Write("Programs.ini",
        CrLfLines({"3", "Elite", "C:\\Games\\Elite.ssd", "Acornsoft", "Space", "True", "False", "2", "Trade", "Fight",
            "#@%#123#@%#", "1", "BeebEm", "Slow", "1", "Manual", "C:\\Docs\\Elite.pdf", "Repton",
            "C:\\Games\\Repton.ssd", "Superior", "Arcade", "", "yes", "0", "0", "Short", "x.ssd", "P", "T", "False",
            "False", "1"}));
    Catalogue c = CatalogueIn(dir.path());
    EXPECT_TRUE(ImportLegacyPrograms(c).Ok());
    ASSERT_EQ(c.ProgramList.size(), 3u);
    const ProgramRecord& elite = c.ProgramList[0];
    EXPECT_EQ(elite.ProgramName, "Elite");
    EXPECT_EQ(elite.FileUrl, "C:\\Games\\Elite.ssd");
    EXPECT_EQ(elite.PublisherName, "Acornsoft");
    EXPECT_EQ(elite.ProgramType, "Space");
    EXPECT_TRUE(elite.Favourite);
    EXPECT_FALSE(elite.E00Dfs);
    EXPECT_EQ(elite.Comments, (StringList{"Trade", "Fight"}));
    EXPECT_EQ(elite.EmuWarningEmus, StringList{"BeebEm"});
    EXPECT_EQ(elite.EmuWarningTexts, StringList{"Slow"});
    EXPECT_EQ(elite.DocLinkNames, StringList{"Manual"});
    EXPECT_EQ(elite.DocLinkUrls, StringList{"C:\\Docs\\Elite.pdf"});
    const ProgramRecord& repton = c.ProgramList[1];
    EXPECT_TRUE(repton.Favourite); // empty is not "False"
    EXPECT_TRUE(repton.E00Dfs);
    EXPECT_TRUE(repton.EmuWarningEmus.empty());
    EXPECT_TRUE(repton.DocLinkNames.empty());
    // A file shorter than its counts promise: what it holds, and nothing past the end.
    const ProgramRecord& shortOne = c.ProgramList[2];
    EXPECT_EQ(shortOne.ProgramName, "Short");
    EXPECT_FALSE(shortOne.Favourite);
    EXPECT_TRUE(shortOne.Comments.empty());
}

TEST(LegacyImport, CountThatIsNotAnIntegerRaisesTheConversionError)
{
    TempDir dir;
    dir.Write("Programs.ini", CrLfLines({"1", "A", "a.ssd", "P", "T", "False", "False", "two"}));
    Catalogue c = CatalogueIn(dir.path());
    EXPECT_EQ(ImportLegacyPrograms(c).Message(), "'two' is not a valid integer value");
    dir.Write("Filters.ini", "\n");
    EXPECT_EQ(ImportLegacyFilters(c).Message(), "'' is not a valid integer value");
    dir.Write("Filters.ini", "99999999999\n");
    EXPECT_EQ(ImportLegacyFilters(c).Message(), "'99999999999' is not a valid integer value");
    // A huge count in a short file imports what is there without spinning.
    dir.Write("Filters.ini", "2000000000\nOnly\nany\nany\nChecked\n");
    EXPECT_TRUE(ImportLegacyFilters(c).Ok());
    EXPECT_EQ(c.FilterList.size(), 1u);
}

TEST(LegacyImport, OptionsLongAndShortLayouts)
{
    TempDir dir;
    dir.Write("Options.ini",
        LfLines({"2", "1", "Zeta", "alpha", "Arcade", "C:\\Games\\", "C:\\Emus\\", "C:\\Docs\\", "Favs", "BeebEm",
            "true", "ignored", "ignored", "true", "True", "C:\\shot.jpg", "true", "true", "false"}));
    Catalogue c = CatalogueIn(dir.path());
    EXPECT_TRUE(ImportLegacyOptions(c).Ok());
    EXPECT_EQ(c.Publishers.Items(), (std::vector<std::string>{"alpha", "Zeta"}));
    EXPECT_EQ(c.ProgramTypes.Items(), (std::vector<std::string>{"Arcade"}));
    EXPECT_EQ(c.LastProgramDir, "C:\\Games\\");
    EXPECT_EQ(c.LastEmuDir, "C:\\Emus\\");
    EXPECT_EQ(c.LastDocDir, "C:\\Docs\\");
    EXPECT_EQ(c.LastFilter, "Favs");
    EXPECT_EQ(c.LastEmu, "BeebEm");
    EXPECT_TRUE(c.Options.AskAddToList);
    EXPECT_TRUE(c.Options.CopyDiskBack);
    EXPECT_FALSE(c.Options.CopyPicture); // "True" is not "true" in this file
    EXPECT_EQ(c.Options.PictureUrl, "C:\\shot.jpg");
    EXPECT_TRUE(c.Options.UseE00Dfs);
    EXPECT_TRUE(c.Options.CompatibilityWarning);
    EXPECT_FALSE(c.Options.E00DfsWarning);

    TempDir shortDir;
    shortDir.Write("Options.ini",
        CrLfLines({"0", "0", "", "", "", "all", "", "false", "", "", "false", "true", "p.jpg"}));
    Catalogue s = CatalogueIn(shortDir.path());
    s.Options.UseE00Dfs = s.Options.CompatibilityWarning = s.Options.E00DfsWarning = true;
    EXPECT_TRUE(ImportLegacyOptions(s).Ok());
    EXPECT_FALSE(s.Options.UseE00Dfs);
    EXPECT_FALSE(s.Options.CompatibilityWarning);
    EXPECT_FALSE(s.Options.E00DfsWarning);
    EXPECT_TRUE(s.Options.CopyPicture);
    EXPECT_EQ(s.Options.PictureUrl, "p.jpg");

    // A file that ends before the remembered filter leaves "all", not an empty filter name.
    shortDir.Write("Options.ini", CrLfLines({"0", "0", "C:\\Games\\"}));
    EXPECT_TRUE(ImportLegacyOptions(s).Ok());
    EXPECT_EQ(s.LastProgramDir, "C:\\Games\\");
    EXPECT_EQ(s.LastFilter, "all");
}

TEST(LegacyImport, EmusInBothLayouts)
{
    TempDir dir;
    std::vector<std::string> later = {"2"};
    for (const char* name : {"BeebEm", "B-Em"}) {
        auto block = EmuBlock(name);
        later.insert(later.end(), block.begin(), block.end());
        later.insert(later.end(), {"True", "False", "x"});
    }
    later.push_back("2.2");
    dir.Write("Emus.ini", LfLines(later));
    Catalogue c = CatalogueIn(dir.path());
    EXPECT_TRUE(ImportLegacyEmus(c).Ok());
    ASSERT_EQ(c.EmuList.size(), 2u);
    const EmuRecord& e = c.EmuList[1];
    EXPECT_EQ(e.EmuName, "B-Em");
    EXPECT_EQ(e.CommandLineString, "-x");
    EXPECT_EQ(e.EnvVarDsValue, "ds");
    EXPECT_EQ(e.RomFileExt, ".rom");
    EXPECT_EQ(e.E00DfsName, "E00DFS.ROM");
    EXPECT_FALSE(e.CleanDiskWorkingDir);
    EXPECT_TRUE(e.CleanRomWorkingDir);
    EXPECT_TRUE(e.ProcessRomsCfgModelB);
    EXPECT_FALSE(e.ProcessRomsCfgMaster128);
    EXPECT_TRUE(e.HandleDfs);

    std::vector<std::string> earlier = {"2"};
    for (const char* name : {"One", "Two"}) {
        auto block = EmuBlock(name);
        earlier.insert(earlier.end(), block.begin(), block.end());
    }
    earlier.push_back("2.1");
    dir.Write("Emus.ini", LfLines(earlier));
    EXPECT_TRUE(ImportLegacyEmus(c).Ok());
    ASSERT_EQ(c.EmuList.size(), 2u);
    EXPECT_EQ(c.EmuList[1].EmuName, "Two"); // 18 lines a block
    for (const auto& emu : c.EmuList) {
        EXPECT_FALSE(emu.ProcessRomsCfgModelB);
        EXPECT_FALSE(emu.ProcessRomsCfgMaster128);
        EXPECT_TRUE(emu.HandleDfs);
    }
}

TEST(LegacyImport, FiltersAndMissingFiles)
{
    TempDir dir;
    dir.Write("Filters.ini",
        CrLfLines({"3", "Favs", "any", "any", "Checked", "NoFav", "Acornsoft", "any", "Unchecked", "All", "any",
            "Arcade", "Grayed"}));
    Catalogue c = CatalogueIn(dir.path());
    EXPECT_TRUE(ImportLegacyFilters(c).Ok());
    ASSERT_EQ(c.FilterList.size(), 3u);
    EXPECT_EQ(c.FilterList[0].FFavourite, FavouriteCondition::fcTrue);
    EXPECT_EQ(c.FilterList[1].FFavourite, FavouriteCondition::fcFalse);
    EXPECT_EQ(c.FilterList[1].FPublisher, "Acornsoft");
    EXPECT_EQ(c.FilterList[2].FFavourite, FavouriteCondition::fcDontCare);
    EXPECT_EQ(c.FilterList[2].FType, "Arcade");
    EXPECT_EQ(c.FilterList[2].FPubComp, "=");
    EXPECT_EQ(c.FilterList[2].FTypeComp, "=");

    TempDir empty;
    Catalogue e = CatalogueIn(empty.path());
    e.LastFilter = "x";
    EXPECT_TRUE(ImportLegacyPrograms(e).Ok());
    EXPECT_TRUE(ImportLegacyOptions(e).Ok());
    EXPECT_TRUE(ImportLegacyEmus(e).Ok());
    EXPECT_TRUE(ImportLegacyFilters(e).Ok());
    EXPECT_TRUE(e.ProgramList.empty() && e.EmuList.empty() && e.FilterList.empty());
    EXPECT_EQ(e.LastFilter, "all");
}
