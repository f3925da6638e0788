#include "catalogue/Main_LoadSaveUnit.h"

#include "support/FakePrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorbix;
using vorbix::test::FakePrompts;
using vorbix::test::TempDir;

namespace {

const std::string kNoFocus = "TXMLLoadObject.Getvalue: No focus set";

Catalogue OneOfEach()
{
    Catalogue c;
    EmuRecord e;
    e.EmuName = "BeebEm";
    e.EmuUrl = "/opt/beebem/beebem";
    e.CommandLineString = "-fullscreen";
    e.EnvVarName = "BEEB";
    e.EnvVarValue = "1";
    e.EnvVarSsName = "SS";
    e.EnvVarSsValue = "a&b";
    e.DiskWorkingDir = "/opt/beebem/discs/";
    e.DiskFilename = "game";
    e.HandleDfs = true;
    c.EmuList.push_back(e);
    c.Publishers.Add("Acornsoft");
    c.ProgramTypes.Add("Arcade");
    c.Options.CopyPicture = true;
    c.Options.PictureUrl = "/opt/beebem/shot.jpg";
    c.LastDocDir = "/docs/";
    return c;
}

} // namespace

TEST(OptionsFile, ExactBytesOfAnOptionsFile)
{
    Catalogue c = OneOfEach();
    c.LastFilter = "Arcade only";
    c.LastEmu = "BeebEm";
    EXPECT_EQ(OptionsFileBytes(c),
        "<?xml version=\"1.0\"?>\r\n"
        "\r\n"
        "<options>\r\n"
        "  <vorbix-version>2.3</vorbix-version>\r\n"
        "  <emulators>\r\n"
        "    <emulator>\r\n"
        "      <emu-name>BeebEm</emu-name>\r\n"
        "      <emu-url>/opt/beebem/beebem</emu-url>\r\n"
        "      <commandline-string>-fullscreen</commandline-string>\r\n"
        "      <environment-var>\r\n"
        "        <environment-var-name>BEEB</environment-var-name>\r\n"
        "        <environment-var-value>1</environment-var-value>\r\n"
        "      </environment-var>\r\n"
        "      <environment-var-ss>\r\n"
        "        <environment-var-ss-name>SS</environment-var-ss-name>\r\n"
        "        <environment-var-ss-value>a&amp;b</environment-var-ss-value>\r\n"
        "      </environment-var-ss>\r\n"
        "      <environment-var-ds>\r\n"
        "        <environment-var-ds-name></environment-var-ds-name>\r\n"
        "        <environment-var-ds-value></environment-var-ds-value>\r\n"
        "      </environment-var-ds>\r\n"
        "      <disk-working-dir>/opt/beebem/discs/</disk-working-dir>\r\n"
        "      <disk-filename>game</disk-filename>\r\n"
        "      <rom-working-dir></rom-working-dir>\r\n"
        "      <rom-filename></rom-filename>\r\n"
        "      <rom-file-ext></rom-file-ext>\r\n"
        "      <dfs-name>DFS.ROM</dfs-name>\r\n"
        "      <e00dfs-name>E00DFS.ROM</e00dfs-name>\r\n"
        "      <clean-disk-working-dir>false</clean-disk-working-dir>\r\n"
        "      <clean-rom-working-dir>false</clean-rom-working-dir>\r\n"
        "      <process-romscfg-modelb>false</process-romscfg-modelb>\r\n"
        "      <process-romscfg-master128>false</process-romscfg-master128>\r\n"
        "      <handle-dfs>true</handle-dfs>\r\n"
        "    </emulator>\r\n"
        "  </emulators>\r\n"
        "  <filters></filters>\r\n"
        "  <publishers>\r\n"
        "    <publisher>Acornsoft</publisher>\r\n"
        "  </publishers>\r\n"
        "  <program-types>\r\n"
        "    <type>Arcade</type>\r\n"
        "  </program-types>\r\n"
        "  <other-options>\r\n"
        "    <last-program-dir></last-program-dir>\r\n"
        "    <last-emu-dir></last-emu-dir>\r\n"
        "    <last-doc-dir>/docs/</last-doc-dir>\r\n"
        "    <last-filter>Arcade only</last-filter>\r\n"
        "    <last-emu>BeebEm</last-emu>\r\n"
        "    <preprocessing-compatibilitywarning>false</preprocessing-compatibilitywarning>\r\n"
        "    <preprocessing-e00dfswarning>false</preprocessing-e00dfswarning>\r\n"
        "    <postprocessing-copydiskback>false</postprocessing-copydiskback>\r\n"
        "    <postprocessing-copypicture>true</postprocessing-copypicture>\r\n"
        "    <postprocessing-pictureurl>/opt/beebem/shot.jpg</postprocessing-pictureurl>\r\n"
        "    <dropoption-askaddtolist>false</dropoption-askaddtolist>\r\n"
        "    <dropoption-usee00dfs>false</dropoption-usee00dfs>\r\n"
        "  </other-options>\r\n"
        "</options>\r\n");
}

TEST(OptionsFile, RoundTripOfEveryFieldAndFilterCondition)
{
    TempDir dir;
    Catalogue c = OneOfEach();
    c.AppDir = dir.path();
    FilterRecord f1;
    f1.FilterName = "Favs";
    f1.FFavourite = FavouriteCondition::fcTrue;
    FilterRecord f2;
    f2.FilterName = "Not Acorn";
    f2.FPublisher = "Acornsoft";
    f2.FPubComp = "<>";
    f2.FFavourite = FavouriteCondition::fcFalse;
    FilterRecord f3;
    f3.FilterName = "Any";
    c.FilterList = {f1, f2, f3};
    c.Publishers.Add("Zeta");
    c.Publishers.Add("alpha");
    c.Options = {true, true, true, false, "p", true, true};
    c.LastProgramDir = "/games/";
    c.LastEmuDir = "/emus/";
    std::filesystem::create_directory(dir / "Data");
    c.LastFilter = "Favs";
    c.LastEmu = "BeebEm";
    EXPECT_TRUE(SaveOptionsFile(c).Ok());
    const std::string first = dir.Read("Data/options.xml");
    EXPECT_NE(first.find("<f-favourite>don&apos;t care</f-favourite>"), std::string::npos);
    EXPECT_NE(first.find("<f-pubcomp>&lt;&gt;</f-pubcomp>"), std::string::npos);

    Catalogue loaded;
    loaded.AppDir = dir.path();
    FakePrompts prompts;
    EXPECT_TRUE(LoadOptionsFile(loaded, prompts).Ok());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(loaded.EmuList, c.EmuList);
    EXPECT_EQ(loaded.FilterList, c.FilterList);
    EXPECT_EQ(loaded.Publishers.Items(), (std::vector<std::string>{"Acornsoft", "alpha", "Zeta"}));
    EXPECT_EQ(loaded.Options, c.Options);
    EXPECT_EQ(loaded.LastFilter, "Favs");
    EXPECT_EQ(loaded.LastEmu, "BeebEm");
    EXPECT_EQ(loaded.LastProgramDir, "/games/");
    EXPECT_EQ(loaded.LastEmuDir, "/emus/");
    EXPECT_EQ(loaded.LastDocDir, "/docs/");
    EXPECT_TRUE(SaveOptionsFile(loaded).Ok());
    EXPECT_EQ(dir.Read("Data/options.xml"), first);
}

// "Carry on when the emulator closes" is a leaf only of the emulators that have it set, last
// in the emulator: files whose emulators never set it keep their bytes, and a file without
// it loads silently. Only the second emulator has it, so a search outside the first
// emulator would find it there.
TEST(OptionsFile, TheWaitForExitLeafStandsOnlyWhereItIsSetAndRoundTrips)
{
    TempDir dir;
    Catalogue c = OneOfEach();
    c.AppDir = dir.path();
    const std::string without = OptionsFileBytes(c);
    EXPECT_EQ(without.find("wait-for-exit"), std::string::npos);
    EmuRecord carryOn = c.EmuList[0];
    carryOn.EmuName = "b2";
    carryOn.WaitForExit = true;
    c.EmuList.push_back(carryOn);
    std::filesystem::create_directory(dir / "Data");
    ASSERT_TRUE(SaveOptionsFile(c).Ok());
    const std::string with = dir.Read("Data/options.xml");
    const std::string secondEnd = "      <handle-dfs>true</handle-dfs>\r\n"
                                  "      <wait-for-exit>true</wait-for-exit>\r\n"
                                  "    </emulator>\r\n"
                                  "  </emulators>\r\n";
    EXPECT_NE(with.find("<handle-dfs>true</handle-dfs>\r\n    </emulator>\r\n    <emulator>"), std::string::npos);
    EXPECT_NE(with.find(secondEnd), std::string::npos) << with;

    for (const std::string& bytes : {without, with}) {
        dir.Write("Data/options.xml", bytes);
        Catalogue loaded;
        loaded.AppDir = dir.path();
        FakePrompts prompts;
        EXPECT_TRUE(LoadOptionsFile(loaded, prompts).Ok());
        EXPECT_EQ(prompts.Texts(), std::vector<std::string>{});
        ASSERT_EQ(loaded.EmuList.size(), bytes == with ? 2u : 1u);
        EXPECT_FALSE(loaded.EmuList[0].WaitForExit);
        EXPECT_TRUE(bytes == without || loaded.EmuList[1].WaitForExit);
        ASSERT_TRUE(SaveOptionsFile(loaded).Ok());
        EXPECT_EQ(dir.Read("Data/options.xml"), bytes);
    }
}

TEST(OptionsFile, HandEditedFileWithoutGroupsMissingLeavesAndOddValues)
{
    TempDir dir;
    dir.Write("Data/options.xml",
        "<?xml version=\"1.0\"?>\r\n<options>\r\n<emulators><emulator><emu-name>B2</emu-name><emu-url>/b2</emu-url>"
        "<commandline-string></commandline-string><environment-var-name>N</environment-var-name>"
        "<environment-var-value>V</environment-var-value><environment-var-ss-name></environment-var-ss-name>"
        "<environment-var-ss-value></environment-var-ss-value><environment-var-ds-name></environment-var-ds-name>"
        "<environment-var-ds-value></environment-var-ds-value><disk-working-dir></disk-working-dir>"
        "<disk-filename></disk-filename><rom-working-dir></rom-working-dir><rom-filename></rom-filename>"
        "<rom-file-ext></rom-file-ext><dfs-name>D</dfs-name><e00dfs-name>E</e00dfs-name>"
        "<clean-disk-working-dir>True</clean-disk-working-dir><clean-rom-working-dir>true</clean-rom-working-dir>"
        "<process-romscfg-modelb>false</process-romscfg-modelb><process-romscfg-master128>false</"
        "process-romscfg-master128>"
        "</emulator></emulators>\r\n"
        "<filters><filter><filter-name>F</filter-name><f-publisher>any</f-publisher><f-pubcomp>like</f-pubcomp>"
        "<f-type>any</f-type><f-typecomp>=</f-typecomp><f-favourite>maybe</f-favourite></filter></filters>\r\n"
        "<publishers><publisher>Zeta</publisher><publisher>alpha</publisher></publishers>\r\n"
        "<other-options><last-filter>F</last-filter></other-options></options>\r\n");
    Catalogue c;
    c.AppDir = dir.path();
    c.Options.UseE00Dfs = true; // reset by the load
    FakePrompts prompts;
    EXPECT_TRUE(LoadOptionsFile(c, prompts).Ok());
    ASSERT_EQ(c.EmuList.size(), 1u);
    EXPECT_EQ(c.EmuList[0].EnvVarName, "N");
    EXPECT_EQ(c.EmuList[0].EnvVarValue, "V");
    EXPECT_FALSE(c.EmuList[0].CleanDiskWorkingDir);
    EXPECT_TRUE(c.EmuList[0].CleanRomWorkingDir);
    EXPECT_FALSE(c.EmuList[0].HandleDfs); // missing flag reads false
    ASSERT_EQ(c.FilterList.size(), 1u);
    EXPECT_EQ(c.FilterList[0].FPubComp, "like");
    EXPECT_EQ(c.FilterList[0].FFavourite, FavouriteCondition::fcDontCare);
    EXPECT_EQ(c.Publishers.Items(), (std::vector<std::string>{"alpha", "Zeta"}));
    EXPECT_EQ(c.LastFilter, "F");
    EXPECT_EQ(c.LastEmu, kNoFocus);
    EXPECT_EQ(c.Options.PictureUrl, kNoFocus);
    EXPECT_FALSE(c.Options.UseE00Dfs);
    // handle-dfs, then 4 texts and 7 options of other-options are missing: 12 messages, in
    // one box.
    EXPECT_EQ(prompts.Texts(),
        std::vector<std::string>{
            "Reading " + c.AppFile("Data/options.xml") + " gave 12 messages:\n" + kNoFocus + " (12 times)"});
}

TEST(OptionsFile, NoFileMeansDefaults)
{
    TempDir dir;
    Catalogue c;
    c.AppDir = dir.path();
    c.EmuList.push_back(EmuRecord{});
    c.LastFilter = "x";
    c.LastEmu = "y";
    c.Options.CopyDiskBack = true;
    FakePrompts prompts;
    EXPECT_TRUE(LoadOptionsFile(c, prompts).Ok());
    EXPECT_TRUE(c.EmuList.empty());
    EXPECT_EQ(c.LastFilter, "all");
    EXPECT_EQ(c.LastEmu, "");
    EXPECT_EQ(c.Options, OtherOptions{});
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(Records, DefaultsOfNewEmulatorAndFilter)
{
    EmuRecord e;
    EXPECT_EQ(e.DfsName, "DFS.ROM");
    EXPECT_EQ(e.E00DfsName, "E00DFS.ROM");
    EXPECT_FALSE(e.CleanDiskWorkingDir || e.CleanRomWorkingDir || e.ProcessRomsCfgModelB || e.ProcessRomsCfgMaster128
        || e.HandleDfs);
    FilterRecord f;
    EXPECT_EQ(f.FPublisher, "any");
    EXPECT_EQ(f.FPubComp, "=");
    EXPECT_EQ(f.FType, "any");
    EXPECT_EQ(f.FTypeComp, "=");
    EXPECT_EQ(f.FFavourite, FavouriteCondition::fcDontCare);
    EXPECT_EQ(static_cast<int>(FavouriteCondition::fcFalse), 0);
    EXPECT_EQ(static_cast<int>(FavouriteCondition::fcTrue), 1);
    EXPECT_EQ(static_cast<int>(FavouriteCondition::fcDontCare), 2);
    ProgramRecord p;
    EXPECT_TRUE(p.Comments.empty() && p.EmuWarningEmus.empty() && p.DocLinkNames.empty());
    NameList names;
    // Each Add returns the place it inserted at, after any equal names.
    EXPECT_EQ(names.Add("b"), 0u);
    EXPECT_EQ(names.Add("B"), 1u);
    EXPECT_EQ(names.Add("a"), 0u);
    EXPECT_EQ(names.Add("b"), 2u);
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"a", "b", "b", "B"}));
    EXPECT_EQ(names.IndexOf("B"), 3);
    EXPECT_EQ(names.IndexOf("c"), -1);
    // Adding many at once gives the order of adding them one by one, equal texts in
    // different bytes ("Café" in UTF-8 and in Windows-1252) included.
    const std::vector<std::string> more{"Caf\xe9", "b", "Caf\xc3\xa9", "A", "a", "Caf\xe9", "B", ""};
    NameList oneByOne = names;
    for (const std::string& name : more)
        oneByOne.Add(name);
    names.AddAll(more);
    EXPECT_EQ(names.Items(), oneByOne.Items());
}
